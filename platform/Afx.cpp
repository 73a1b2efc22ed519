#include "platform/Afx.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "platform/CException.h"
#include "platform/CWinApp.h"
#include "platform/CWnd.h"
#include "platform/Resources.h"
#include "platform/qt/ModalLoop.h"
#include "platform/qt/QtText.h"

CWnd* AfxGetMainWnd() { return AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr; }

void AfxWinInit()
{
    // The faces the program names, and their metric-compatible stand-ins.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    // Modal runs end the program's windows; the program ends when InitInstance returns.
    QApplication::setQuitOnLastWindowClosed(false);
    if (AfxGetApp())
        QApplication::setApplicationName(AfxGetApp()->m_pszAppName);
}

BOOL AfxSocketInit()
{
    const int probe = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return FALSE;
    close(probe);
    return TRUE;
}

int AfxMessageBox(const std::string& text, UINT nType)
{
    // The box belongs to the window the user is working in: an open modal window, else the
    // main window once it is on the screen.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main->Widget() && main->Widget()->isVisible())
            owner = main->Widget();
    }
    QMessageBox box(owner);
    box.setWindowTitle(AfxGetApp() ? AfxGetApp()->m_pszAppName : "");
    box.setText(ToQString(text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon((nType & MB_ICONSTOP) ? QMessageBox::Critical : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    RunModalLoop(box);
    return IDOK;
}

int AfxMessageBox(UINT nIDPrompt, UINT nType) { return AfxMessageBox(AfxLoadString(nIDPrompt), nType); }

std::string AfxLoadString(UINT nID)
{
    for (const StringResource& entry : AfxGetResourceTable().strings)
        if (entry.id == nID)
            return entry.text;
    return {};
}

const DialogTemplate* AfxFindDialogTemplate(UINT id)
{
    for (const DialogTemplate& dialogTemplate : AfxGetResourceTable().dialogs)
        if (dialogTemplate.id == id)
            return &dialogTemplate;
    return nullptr;
}

const IconResource* AfxFindIcon(UINT id)
{
    for (const IconResource& icon : AfxGetResourceTable().icons)
        if (icon.id == id)
            return &icon;
    return nullptr;
}

void AfxCallHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const CException& error) {
        AfxMessageBox(error.GetErrorMessage(), MB_ICONSTOP);
    } catch (const std::exception& error) {
        AfxMessageBox(std::string("Internal error: ") + error.what(), MB_ICONSTOP);
    }
}
