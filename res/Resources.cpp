// The dialog templates, the string table and the icon of the program.
#include "platform/Resources.h"

#include "res/ProgramIcon.h"
#include "res/Resource.h"

namespace {

using namespace ControlStyle;
constexpr int kNoId = -1;
constexpr const char* kDialogFont = "MS Sans Serif";

DialogTemplate GameWindow()
{
    return {IDD_GAME_DIALOG,
            "Orbelle",
            407,
            241,
            DialogStyle::SysMenu | DialogStyle::MinimizeBox | DialogStyle::AppWindow | DialogStyle::Visible |
                DialogStyle::ModalFrame,
            kDialogFont,
            8,
            {
                {1, ControlKind::PushButton, "Done", 350, 115, 50, 14},
                {IDC_TOPTEN, ControlKind::PushButton, "Top Ten", 350, 134, 50, 14},
                {IDC_MESSAGE, ControlKind::PushButton, "Message", 350, 155, 50, 14},
                {IDC_PEEK, ControlKind::PushButton, "Peek For 100", 350, 174, 50, 14},
                {IDC_HALLOFFAME, ControlKind::PushButton, "Hall Of Fame", 350, 195, 50, 14},
                {IDC_NEWQUESTION, ControlKind::PushButton, "New Question", 350, 215, 50, 14},
            }};
}

DialogTemplate LoginPrompt()
{
    return {IDD_LOGIN,
            "Login to Trivia Server",
            212,
            82,
            DialogStyle::SysMenu | DialogStyle::ModalFrame,
            kDialogFont,
            8,
            {
                {IDC_NAME, ControlKind::Edit, "", 70, 5, 70, 14, TabStop | AutoHScroll},
                {IDC_PASSWORD, ControlKind::Edit, "", 70, 30, 70, 14, TabStop | Password},
                {IDOK, ControlKind::DefPushButton, "OK", 155, 5, 50, 14, TabStop},
                {IDCANCEL, ControlKind::PushButton, "Cancel", 155, 25, 50, 14, TabStop},
                {kNoId, ControlKind::Static, "Name", 5, 5, 47, 8},
                {kNoId, ControlKind::Static, "Password", 5, 30, 40, 8},
                {IDC_SERVER, ControlKind::Edit, "", 160, 60, 40, 14, TabStop | Hidden},
                {kNoId, ControlKind::Static, "Server", 160, 45, 40, 8, Hidden},
                {kNoId, ControlKind::Static,
                 "If you are a new player, enter the name and password you intend to use when you play.", 5, 50, 120,
                 25},
            }};
}

DialogTemplate AboutBox()
{
    return {IDD_ABOUTBOX,
            "About Vantix",
            217,
            55,
            DialogStyle::SysMenu | DialogStyle::ModalFrame,
            kDialogFont,
            8,
            {
                {kNoId, ControlKind::Icon, "", 11, 17, 20, 20, 0, IDR_MAINFRAME},
                {kNoId, ControlKind::Static, "Vantix Version 1.0", 40, 10, 119, 8},
                {kNoId, ControlKind::Static, "A live trivia quiz for many players.", 40, 25, 119, 8},
                {IDOK, ControlKind::DefPushButton, "OK", 178, 7, 32, 14, TabStop},
            }};
}

}  // namespace

const ResourceTable& AfxGetResourceTable()
{
    static const ResourceTable table{
        {GameWindow(), LoginPrompt(), AboutBox()},
        {
            {IDS_ABOUTBOX, "&About Vantix..."},
            {IDP_SOCKETS_INIT_FAILED, "Windows sockets initialization failed."},
            {IDS_CONNECT_FAILED, "Could not connect to server.  Please try again later."},
        },
        {ProgramIcon(IDR_MAINFRAME)},
    };
    return table;
}
