// Drives windows from inside their modal loops, as a person would: each step waits for a
// visible window with a given title, then acts on it once. A step that waits too long fails
// the test and closes every window, so that no test hangs.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace test_support {

class ModalScript : public QObject {
public:
    using Action = std::function<void(QWidget* window)>;

    explicit ModalScript(int stepTimeoutMs = 10000);

    // Adds a step; steps run in order. The script starts with the first event loop.
    ModalScript& When(const QString& title, Action action);

    bool Done() const { return m_next == m_steps.size() && m_failure.empty(); }
    const std::string& Failure() const { return m_failure; }

private:
    struct Step {
        QString title;
        Action action;
    };
    void Poll();
    void Abort(const std::string& why);

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    int m_stepTimeoutMs;
    int m_waitedMs = 0;
    std::string m_failure;
    QTimer m_timer;
};

// The visible top-level window with this title that the user would see on top; null if none.
QWidget* FindWindow(const QString& title);
QWidget* Control(QWidget* window, int id);
// Types into an edit box with key presses; clicks a button with the mouse.
void TypeInto(QWidget* window, int id, const QString& text);
void ClickButton(QWidget* window, int id);
// The text of a message box, and its OK button pressed.
QString MessageText(QWidget* box);
bool MessageHasStopIcon(QWidget* box);
void PressOk(QWidget* box);
// Lets the event loop run for a while (timers, socket notifications, painting).
void RunEventsFor(int milliseconds);

}  // namespace test_support
