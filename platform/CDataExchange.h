#pragma once

#include <string>

#include "platform/AfxTypes.h"

class CWnd;

// The direction and state of one data exchange between a dialog's controls and members.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // Thrown by Fail and caught by UpdateData, which then returns FALSE.
    struct Failure {};

    // Ends the exchange as failed (after the failing control has had its say); never returns.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;
};

// The text of an edit box or label, exactly as typed.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
