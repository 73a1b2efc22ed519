#include "platform/CDataExchange.h"

#include "platform/CWnd.h"

void CDataExchange::Fail() { throw Failure{}; }

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    CWnd* control = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = control->GetWindowText();
    else
        control->SetWindowText(value);
}
