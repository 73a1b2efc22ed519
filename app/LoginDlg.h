#pragma once

#include <string>

#include "platform/CDialog.h"

// The login prompt: name and password, taken exactly as typed.
class CLoginDlg : public CDialog {
public:
    explicit CLoginDlg(CWnd* pParent = nullptr);

    std::string m_strName;
    std::string m_strPassword;
    std::string m_strServer;  // a hidden field: exchanged, never used

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
