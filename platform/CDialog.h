#pragma once

#include "platform/CWnd.h"

// A window made from a dialog template: run modally with DoModal, or modeless with Create.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the window, calls OnInitDialog, shows it and runs a nested event loop until
    // EndDialog; destroys the window and returns the code given to EndDialog. When the
    // window destroys itself during OnInitDialog, it returns -1 without running the loop.
    virtual INT_PTR DoModal();

    void EndDialog(int nResult);

protected:
    // Fills the controls from the members; TRUE gives the focus to the first control.
    virtual BOOL OnInitDialog();
    // Reads and validates the controls, then ends the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();
    void OnClose() override;

    DECLARE_MESSAGE_MAP()

private:
    // Builds the window and its controls from the template.
    void CreateFromTemplate();
    void FocusFirstTabStop();

    UINT m_nIDTemplate;
    int m_nModalResult = -1;
    bool m_bEnded = false;
    bool m_bInModalLoop = false;
};
