#include "tests/support/ModalScript.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWidget>

namespace test_support {
namespace {
constexpr int kPollMs = 20;
}

ModalScript::ModalScript(int stepTimeoutMs) : m_stepTimeoutMs(stepTimeoutMs)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalScript::Poll);
    m_timer.start(kPollMs);
}

ModalScript& ModalScript::When(const QString& title, Action action)
{
    m_steps.push_back({title, std::move(action)});
    return *this;
}

void ModalScript::Poll()
{
    if (!m_failure.empty()) {
        Abort(m_failure);
        return;
    }
    if (m_next == m_steps.size())
        return;
    QWidget* window = FindWindow(m_steps[m_next].title);
    if (!window) {
        m_waitedMs += kPollMs;
        if (m_waitedMs > m_stepTimeoutMs)
            Abort("no window \"" + m_steps[m_next].title.toStdString() + "\" appeared (step " + std::to_string(m_next + 1) + ")");
        return;
    }
    // The step counts as taken before it acts, and acts from a timer of its own: its action
    // may run nested loops, inside which this poll must go on (a timer never fires inside its
    // own handler).
    const Step step = m_steps[m_next++];
    m_waitedMs = 0;
    QTimer::singleShot(0, this, [action = step.action, target = QPointer<QWidget>(window)] {
        if (target)
            action(target);
    });
}

void ModalScript::Abort(const std::string& why)
{
    m_failure = why;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
            dialog->done(QDialog::Rejected);
        else if (widget->isVisible() && (widget->windowFlags() & Qt::Popup) == Qt::Popup)
            widget->hide();  // an open menu
    }
}

QWidget* FindWindow(const QString& title)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible() && modal->windowTitle() == title)
        return modal;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == title)
            return widget;
    return nullptr;
}

QWidget* Control(QWidget* window, int id) { return window->findChild<QWidget*>(QString::number(id)); }

void TypeInto(QWidget* window, int id, const QString& text)
{
    QWidget* edit = Control(window, id);
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

void ClickButton(QWidget* window, int id) { QTest::mouseClick(Control(window, id), Qt::LeftButton); }

QString MessageText(QWidget* box)
{
    auto* message = qobject_cast<QMessageBox*>(box);
    return message ? message->text() : QString();
}

bool MessageHasStopIcon(QWidget* box)
{
    auto* message = qobject_cast<QMessageBox*>(box);
    return message && message->icon() == QMessageBox::Critical;
}

void PressOk(QWidget* box)
{
    auto* message = qobject_cast<QMessageBox*>(box);
    QTest::mouseClick(message->button(QMessageBox::Ok), Qt::LeftButton);
}

void RunEventsFor(int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace test_support
