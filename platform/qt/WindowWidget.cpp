#include "platform/qt/WindowWidget.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>

#include "platform/CMenu.h"
#include "platform/CWnd.h"
#include "platform/qt/ModalLoop.h"
#include "platform/qt/QtText.h"

namespace {

// 96 dots per inch, the resolution every size of the program is stated for.
constexpr int kDotsPerMeter = 3780;

}  // namespace

WindowWidget::WindowWidget(CWnd& owner, QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags), m_pOwner(&owner)
{
}

QImage& WindowWidget::BackingImage()
{
    if (m_backing.size() != size()) {
        m_backing = QImage(size(), QImage::Format_RGB32);
        m_backing.setDotsPerMeterX(kDotsPerMeter);
        m_backing.setDotsPerMeterY(kDotsPerMeter);
        m_backing.fill(palette().color(QPalette::Window));
    }
    return m_backing;
}

void WindowWidget::Send(const WindowMessage& message)
{
    if (m_pOwner)
        m_pOwner->SendMessage(message);
}

void WindowWidget::paintEvent(QPaintEvent*)
{
    if (m_bExposed) {
        m_bExposed = false;
        Send({MessageKind::Paint});
    }
    if (!m_backing.isNull()) {
        QPainter painter(this);
        painter.drawImage(0, 0, m_backing);
    }
}

void WindowWidget::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        m_bExposed = true;
    QDialog::showEvent(event);
}

void WindowWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized)) {
            m_bExposed = true;
            update();
        }
    }
    QDialog::changeEvent(event);
}

void WindowWidget::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        Send({MessageKind::Command, IDCANCEL});
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter presses the focused button, else the default button, else OK.
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget())) {
            focused->click();
            return;
        }
        for (auto* button : findChildren<QPushButton*>()) {
            if (button->isDefault() && button->isVisible() && button->isEnabled()) {
                button->click();
                return;
            }
        }
        Send({MessageKind::Command, IDOK});
        return;
    }
    default:
        break;
    }
    const std::string text = FromQString(event->text());
    if (text.size() == 1 && static_cast<unsigned char>(text[0]) >= 0x20)
        Send({MessageKind::Char, static_cast<unsigned char>(text[0]), event->count()});
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // The close box is a system command; the window decides what closing means.
    event->ignore();
    Send({MessageKind::SysCommand, SC_CLOSE});
}

void WindowWidget::reject() { Send({MessageKind::Command, IDCANCEL}); }

void WindowWidget::contextMenuEvent(QContextMenuEvent* event)
{
    CMenu* systemMenu = m_pOwner ? m_pOwner->m_pSystemMenu.get() : nullptr;
    if (!systemMenu || childAt(event->pos()) != nullptr)
        return;
    QMenu menu(this);
    for (const CMenu::Entry& entry : systemMenu->Entries()) {
        if (entry.flags & MF_SEPARATOR) {
            if (!menu.isEmpty())
                menu.addSeparator();
            continue;
        }
        menu.addAction(ToQString(entry.text))->setData(entry.id);
    }
    if (menu.isEmpty())
        return;
    PrepareNestedLoop();
    if (QAction* chosen = menu.exec(event->globalPos()))
        Send({MessageKind::SysCommand, chosen->data().toUInt()});
}
