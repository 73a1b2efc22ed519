#include "app/LoginDlg.h"

#include "platform/Afx.h"
#include "platform/CDataExchange.h"
#include "res/Resource.h"

CLoginDlg::CLoginDlg(CWnd* pParent) : CDialog(IDD_LOGIN, pParent) {}

void CLoginDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDX_Text(pDX, IDC_SERVER, m_strServer);
}

void CLoginDlg::OnOK()
{
    UpdateData(TRUE);
    if (m_strName.empty() || m_strPassword.empty()) {
        AfxMessageBox("You must fill in both the name and password.");
        return;
    }
    EndDialog(IDOK);
}
