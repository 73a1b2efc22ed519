#pragma once

#include <cstdint>
#include <string>

#include "platform/CDialog.h"
#include "platform/CFont.h"
#include "screen/Picture.h"

class CGameSocket;
class CMessageDlg;

// The game window: the one long-lived window of the program, and the shared context of the
// game: connection, game state, font and pictures.
class CGameDlg : public CDialog {
public:
    explicit CGameDlg(CWnd* pParent = nullptr);

    static constexpr const char* kClientVersion = "1.0.0.4";
    static constexpr unsigned kGameServerPort = 2;
    static constexpr const char* kFallbackAddress = "2.2.2.2";

    CGameSocket* m_pSocket = nullptr;
    CMessageDlg* m_pMessageDlg = nullptr;
    std::string m_strName;
    std::string m_strPassword;
    std::int32_t m_nTimeLeft = 0;
    std::int32_t m_nPointsLeft = 0;
    std::int32_t m_nAnswer = 0;
    std::int32_t m_nAnswerPoints = 0;
    std::int32_t m_nCorrect = 0;
    std::int32_t m_nScore = 0;
    std::int32_t m_nQuestionNo = 0;
    std::int32_t m_nPeekCost = 0;
    CFont m_fontArial;
    std::int32_t m_nLineHeight = 0;
    std::int32_t m_nTicks = 0;
    COLORREF m_colorAnswers[5] = {};
    std::string m_strStatus;
    std::string m_strMessageLog;
    double m_dTotalTime = 0.0;
    double m_dLastAnswerTime = 0.0;
    Picture m_picCurrent;
    Picture m_picBack;
    Picture m_picMovies;
    Picture m_picGeography;
    Picture m_picHistory;
    Picture m_picSports;
    Picture m_picBusiness;
    Picture m_picWinner;
    HICON m_hIcon;

protected:
    BOOL OnInitDialog() override;
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()
};
