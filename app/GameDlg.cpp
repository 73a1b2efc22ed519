#include "app/GameDlg.h"

#include <cstring>

#include "app/AboutDlg.h"
#include "app/LoginDlg.h"
#include "net/GameSocket.h"
#include "net/ServerDiscovery.h"
#include "platform/Afx.h"
#include "platform/CArchive.h"
#include "platform/CClientDC.h"
#include "platform/CMenu.h"
#include "platform/CSocketFile.h"
#include "platform/CWinApp.h"
#include "res/Resource.h"

BEGIN_MESSAGE_MAP(CGameDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_CHAR()
END_MESSAGE_MAP()

CGameDlg::CGameDlg(CWnd* pParent) : CDialog(IDD_GAME_DIALOG, pParent), m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME)) {}

BOOL CGameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    const std::string aboutMenu = AfxLoadString(IDS_ABOUTBOX);
    if (!aboutMenu.empty()) {
        CMenu* systemMenu = GetSystemMenu(FALSE);
        systemMenu->AppendMenu(MF_SEPARATOR);
        systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutMenu);
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    char szAddress[kServerAddressBufferSize];
    if (!DiscoverServerAddress(szAddress))
        std::strcpy(szAddress, kFallbackAddress);

    CLoginDlg login(this);
    if (login.DoModal() != IDOK) {
        DestroyWindow();
        m_pSocket = nullptr;
        return FALSE;
    }

    m_pSocket = new CGameSocket;
    m_pSocket->m_pGameDlg = this;
    m_pSocket->Create(0, SOCK_STREAM_TYPE, FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE, nullptr);
    if (!m_pSocket->Connect(szAddress, kGameServerPort)) {
        AfxMessageBox(IDS_CONNECT_FAILED);
        DestroyWindow();
        delete m_pSocket;
        m_pSocket = nullptr;
        return FALSE;
    }
    m_pSocket->m_pFile = new CSocketFile(m_pSocket, TRUE);

    // "LOGIN" is composed now and leaves when the window is ready.
    CArchive loginWriter(m_pSocket->m_pFile, CArchive::store);
    m_strName = login.m_strName;
    m_strPassword = login.m_strPassword;
    loginWriter << std::string("LOGIN") << m_strName << m_strPassword << std::string(kClientVersion);

    SetTimer(1, 200, nullptr);

    m_nTicks = m_nTimeLeft = m_nPointsLeft = m_nScore = m_nPeekCost = m_nAnswer = m_nAnswerPoints = m_nQuestionNo = 0;
    m_dTotalTime = m_dLastAnswerTime = 0.0;
    m_strStatus = "Please wait for the next question...";
    m_pMessageDlg = nullptr;

    m_fontArial.CreatePointFont(140, "Arial");
    {
        CClientDC dc(this);
        CFont* previous = dc.SelectObject(&m_fontArial);
        TEXTMETRIC metrics;
        dc.GetTextMetrics(&metrics);
        m_nLineHeight = metrics.tmHeight;
        dc.SelectObject(previous);
    }

    m_picBack = LoadPicture(this, "BACK.BMP");
    m_picMovies = LoadPicture(this, "MOVIES.BMP");
    m_picGeography = LoadPicture(this, "GEOGRAPH.BMP");
    m_picHistory = LoadPicture(this, "HISTORY.BMP");
    m_picSports = LoadPicture(this, "SPORTS.BMP");
    m_picBusiness = LoadPicture(this, "BUSINESS.BMP");
    m_picWinner = LoadPicture(this, "WINNER.BMP");
    m_picCurrent = m_picBack;
    for (COLORREF& colour : m_colorAnswers)
        colour = RGB(0, 0, 0);

    loginWriter.Close();
    return TRUE;
}

void CGameDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CGameDlg::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { CDialog::OnChar(nChar, nRepCnt, nFlags); }
