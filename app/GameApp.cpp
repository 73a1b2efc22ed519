#include "app/GameApp.h"

#include "app/GameDlg.h"
#include "platform/Afx.h"
#include "res/Resource.h"

CGameApp theApp;

CGameApp::CGameApp() : CWinApp("Vantix") {}

BOOL CGameApp::InitInstance()
{
    if (!AfxSocketInit()) {
        AfxMessageBox(IDP_SOCKETS_INIT_FAILED);
        return FALSE;
    }
    Enable3dControls();

    CGameDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();  // every way the run ends leads to the end of the program

    DeleteObject(dlg.m_picCurrent.hBitmap);
    DeleteObject(dlg.m_picCurrent.hPalette);
    m_pMainWnd = nullptr;
    return FALSE;
}
