#pragma once

#include "platform/CWinApp.h"

// The application: starts the socket layer and runs the game window; the program ends when
// the game window's modal run ends.
class CGameApp : public CWinApp {
public:
    CGameApp();

    BOOL InitInstance() override;
};
