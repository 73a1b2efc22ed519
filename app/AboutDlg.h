#pragma once

#include "platform/CDialog.h"

// The About box.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
