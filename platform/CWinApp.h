#pragma once

#include <string>

#include "platform/AfxTypes.h"

class CWnd;
struct GdiIcon;
using HICON = GdiIcon*;

// The application object: one global instance, created before the program starts; the
// platform calls its InitInstance, and the program ends when InitInstance returns FALSE.
class CWinApp {
public:
    explicit CWinApp(const char* lpszAppName);
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp();

    virtual BOOL InitInstance();

    // Three-dimensional controls: the classic bevelled style for every window.
    void Enable3dControls();

    // The icon resource with this id, in all its sizes; null if there is none.
    HICON LoadIcon(UINT nIDResource) const;

    const char* m_pszAppName;
    CWnd* m_pMainWnd = nullptr;
};
