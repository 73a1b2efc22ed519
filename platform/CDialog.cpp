#include "platform/CDialog.h"

#include <QWidget>

#include "platform/Afx.h"
#include "platform/Resources.h"
#include "platform/qt/ModalLoop.h"
#include "platform/qt/TemplateBuilder.h"
#include "platform/qt/WindowWidget.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate) { m_pParentWnd = pParentWnd; }

void CDialog::CreateFromTemplate()
{
    const DialogTemplate* dialogTemplate = AfxFindDialogTemplate(m_nIDTemplate);
    if (!dialogTemplate)
        return;
    // Without a parent of its own, a dialog belongs to the application's main window.
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if (owner == this || (owner && !owner->HasWindow()))
        owner = nullptr;
    auto* window = new WindowWidget(*this, owner ? owner->Widget() : nullptr, WindowFlagsFor(*dialogTemplate, owner != nullptr));
    BuildFromTemplate(*window, *dialogTemplate, [this](int id) { SendMessage({MessageKind::Command, static_cast<UINT>(id)}); });
    AttachWidget(window, m_pParentWnd);
}

INT_PTR CDialog::DoModal()
{
    m_nModalResult = -1;
    m_bEnded = false;
    CreateFromTemplate();
    if (!HasWindow())
        return -1;
    auto* window = static_cast<WindowWidget*>(Widget());
    // Initialisation is an event of its own: an error that leaves it is reported, and the
    // window still runs.
    BOOL focusFirst = FALSE;
    AfxCallHandler([&] { focusFirst = OnInitDialog(); });
    if (focusFirst && HasWindow())
        FocusFirstTabStop();
    if (!HasWindow())
        return -1;  // destroyed itself while initialising
    if (!m_bEnded) {
        m_bInModalLoop = true;
        RunModalLoop(*window);
        m_bInModalLoop = false;
    }
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::FocusFirstTabStop()
{
    for (QWidget* child = Widget()->nextInFocusChain(); child && child != Widget(); child = child->nextInFocusChain()) {
        if (child->focusPolicy() & Qt::TabFocus && !child->isHidden() && child->isEnabled()) {
            child->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEnded = true;
    if (m_bInModalLoop && HasWindow())
        static_cast<WindowWidget*>(Widget())->done(nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnClose() { SendMessage({MessageKind::Command, IDCANCEL}); }
