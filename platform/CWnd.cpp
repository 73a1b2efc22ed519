#include "platform/CWnd.h"

#include <QTimer>
#include <QWidget>

#include "platform/Afx.h"
#include "platform/CDataExchange.h"
#include "platform/CMenu.h"
#include "platform/qt/GdiObjects.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TemplateBuilder.h"
#include "platform/qt/WindowWidget.h"

const MessageEntry* MessageMap::Find(const WindowMessage& message) const
{
    for (const MessageMap* map = this; map; map = map->base)
        for (const MessageEntry& entry : map->entries)
            if (entry.kind == message.kind && (entry.kind != MessageKind::Command || entry.id == message.id))
                return &entry;
    return nullptr;
}

CWnd::CWnd() = default;

CWnd::~CWnd() { DestroyWindow(); }

const MessageMap* CWnd::GetMessageMap() const
{
    static const MessageMap map{nullptr, {}};
    return &map;
}

void CWnd::DoDataExchange(CDataExchange*) {}

void CWnd::AttachWidget(QWidget* widget, CWnd* pParent)
{
    m_pWidget = widget;
    m_pParentWnd = pParent;
    m_bOwnsWidget = qobject_cast<WindowWidget*>(widget) != nullptr;
}

void CWnd::DetachWidget()
{
    m_controls.clear();
    m_timers.clear();
    m_pWidget = nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_pWidget)
        return FALSE;
    QWidget* widget = m_pWidget;
    for (auto& [id, timer] : m_timers)
        timer->stop();
    const bool owned = m_bOwnsWidget;
    DetachWidget();
    if (owned) {
        auto* window = static_cast<WindowWidget*>(widget);
        window->Detach();
        window->done(0);  // ends a modal run in progress
        window->hide();
        window->deleteLater();
    }
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (!m_pWidget)
        return FALSE;
    const bool wasVisible = m_pWidget->isVisible();
    m_pWidget->setVisible(nCmdShow != 0);
    return wasVisible;
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    if (!m_pWidget)
        return FALSE;
    const bool wasDisabled = !m_pWidget->isEnabled();
    m_pWidget->setEnabled(bEnable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_pWidget && m_pWidget->isEnabled(); }
BOOL CWnd::IsWindowVisible() const { return m_pWidget && m_pWidget->isVisible(); }
BOOL CWnd::IsIconic() const { return m_pWidget && m_pWidget->isMinimized(); }

void CWnd::SetWindowText(const std::string& text)
{
    if (!m_pWidget)
        return;
    const QString value = ToQString(text);
    if (m_pWidget->isWindow())
        m_pWidget->setWindowTitle(value);
    else
        m_pWidget->setProperty("text", value);  // buttons, labels and edit boxes all have a text
}

std::string CWnd::GetWindowText() const
{
    if (!m_pWidget)
        return {};
    return FromQString(m_pWidget->isWindow() ? m_pWidget->windowTitle() : m_pWidget->property("text").toString());
}

void CWnd::SetFocus()
{
    if (m_pWidget)
        m_pWidget->setFocus(Qt::OtherFocusReason);
}

void CWnd::GetClientRect(CRect* pRect) const
{
    *pRect = m_pWidget ? CRect{0, 0, m_pWidget->width(), m_pWidget->height()} : CRect{};
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    if (!m_pWidget)
        return nullptr;
    if (auto found = m_controls.find(nID); found != m_controls.end())
        return found->second.get();
    for (QWidget* child : m_pWidget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->property(kControlIdProperty).toInt() == nID && child->property(kControlIdProperty).isValid()) {
            auto control = std::make_unique<CWnd>();
            control->AttachWidget(child, const_cast<CWnd*>(this));
            return m_controls.emplace(nID, std::move(control)).first->second.get();
        }
    }
    return nullptr;
}

UINT CWnd::SetTimer(UINT nIDEvent, UINT nElapse, void*)
{
    if (!m_pWidget)
        return 0;
    KillTimer(nIDEvent);
    auto* timer = new QTimer(m_pWidget);
    QObject::connect(timer, &QTimer::timeout, m_pWidget, [this, nIDEvent] { SendMessage({MessageKind::Timer, nIDEvent}); });
    timer->start(static_cast<int>(nElapse));
    m_timers[nIDEvent] = timer;
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT nIDEvent)
{
    const auto found = m_timers.find(nIDEvent);
    if (found == m_timers.end())
        return FALSE;
    delete found->second;
    m_timers.erase(found);
    return TRUE;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL)
{
    if (m_pWidget && hIcon)
        m_pWidget->setWindowIcon(hIcon->icon);
    return hIcon;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert)
{
    if (bRevert) {
        m_pSystemMenu.reset();
        return nullptr;
    }
    if (!m_pSystemMenu)
        m_pSystemMenu = std::make_unique<CMenu>();
    return m_pSystemMenu.get();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange exchange(this, bSaveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CDataExchange::Failure&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::SendMessage(const WindowMessage& message)
{
    AfxCallHandler([&] {
        if (const MessageEntry* entry = GetMessageMap()->Find(message))
            entry->handle(*this, message);
        else
            DefaultHandling(message);
    });
}

void CWnd::DefaultHandling(const WindowMessage& message)
{
    if (message.kind == MessageKind::SysCommand)
        CWnd::OnSysCommand(message.id, message.lParam);
}

void CWnd::OnSysCommand(UINT nID, LPARAM)
{
    switch (nID & 0xFFF0) {
    case SC_CLOSE:
        OnClose();
        break;
    case SC_MINIMIZE:
        if (m_pWidget)
            m_pWidget->showMinimized();
        break;
    case SC_RESTORE:
        if (m_pWidget)
            m_pWidget->showNormal();
        break;
    default:
        break;
    }
}

void CWnd::OnClose() { DestroyWindow(); }
void CWnd::OnTimer(UINT) {}
void CWnd::OnChar(UINT, UINT, UINT) {}
void CWnd::OnPaint() {}
