// The program's resources: dialog templates, the string table and icons. The application
// defines AfxGetResourceTable; the platform looks every resource up there.
#pragma once

#include <vector>

#include "platform/AfxTypes.h"

enum class ControlKind { PushButton, DefPushButton, Edit, Static, Icon };

// Styles of a control, combined with |.
namespace ControlStyle {
enum : unsigned {
    TabStop = 1u << 0,
    Hidden = 1u << 1,
    Password = 1u << 2,      // edit: characters shown as *
    AutoHScroll = 1u << 3,   // edit: scrolls horizontally as text is typed
};
}

// Styles of a dialog window, combined with |.
namespace DialogStyle {
enum : unsigned {
    SysMenu = 1u << 0,
    MinimizeBox = 1u << 1,
    AppWindow = 1u << 2,  // a top-level window of its own in the task bar
    Visible = 1u << 3,
    ModalFrame = 1u << 4,
};
}

// Positions and sizes are in dialog units; an icon control names its icon in iconId.
struct DialogItem {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;
    unsigned style = 0;
    UINT iconId = 0;
};

// cx and cy are the size of the client area, in dialog units.
struct DialogTemplate {
    UINT id;
    const char* caption;
    int cx, cy;
    unsigned style;
    const char* fontFace;
    int fontPoints;
    std::vector<DialogItem> items;
};

struct StringResource {
    UINT id;
    const char* text;
};

// A square image of `size` rows, one character a pixel: a hexadecimal digit is one of the
// 16 standard colours of a 16-colour display (0 black ... F white), '.' is transparent.
struct IconImage {
    int size;
    std::vector<const char*> rows;
};

struct IconResource {
    UINT id;
    std::vector<IconImage> images;
};

struct ResourceTable {
    std::vector<DialogTemplate> dialogs;
    std::vector<StringResource> strings;
    std::vector<IconResource> icons;
};

const ResourceTable& AfxGetResourceTable();

const DialogTemplate* AfxFindDialogTemplate(UINT id);
const IconResource* AfxFindIcon(UINT id);
