#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/AfxTypes.h"
#include "platform/MessageMap.h"

class CDataExchange;
class CMenu;
class QTimer;
class QWidget;
class WindowWidget;
struct GdiIcon;
using HICON = GdiIcon*;

struct CRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A window: a top-level window that routes its events through its message table, or a
// control of one (reached through GetDlgItem).
class CWnd {
public:
    CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    BOOL DestroyWindow();
    BOOL ShowWindow(int nCmdShow);
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;
    void SetFocus();
    void GetClientRect(CRect* pRect) const;

    // The control with this id in this window; null if there is none.
    CWnd* GetDlgItem(int nID) const;
    CWnd* GetParent() const { return m_pParentWnd; }

    // A timer delivered to OnTimer every nElapse milliseconds until the window is destroyed.
    UINT SetTimer(UINT nIDEvent, UINT nElapse, void* lpfnTimer = nullptr);
    BOOL KillTimer(UINT nIDEvent);

    HICON SetIcon(HICON hIcon, BOOL bBigIcon);

    // The entries the program adds to the window menu; Linux window managers keep that menu
    // to themselves, so the platform offers these entries in the client area's context menu.
    CMenu* GetSystemMenu(BOOL bRevert);

    // Copies between the controls and the members: TRUE reads the controls (and validates),
    // FALSE fills them. FALSE when a validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Routes a message through the message table; what no entry handles gets the platform's
    // default handling.
    void SendMessage(const WindowMessage& message);

    bool HasWindow() const { return m_pWidget != nullptr; }
    QWidget* Widget() const { return m_pWidget; }

protected:
    virtual const MessageMap* GetMessageMap() const;
    virtual void DoDataExchange(CDataExchange* pDX);

    // Default handling of system commands: closing, minimising and restoring.
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnTimer(UINT nIDEvent);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnPaint();
    // The window is asked to close (its close box, or the close command): it is destroyed.
    virtual void OnClose();

    void AttachWidget(QWidget* widget, CWnd* pParent);
    void DetachWidget();
    void DefaultHandling(const WindowMessage& message);

    CWnd* m_pParentWnd = nullptr;

private:
    friend class WindowWidget;

    QWidget* m_pWidget = nullptr;
    bool m_bOwnsWidget = false;
    mutable std::map<int, std::unique_ptr<CWnd>> m_controls;
    std::map<UINT, QTimer*> m_timers;
    std::unique_ptr<CMenu> m_pSystemMenu;
};
