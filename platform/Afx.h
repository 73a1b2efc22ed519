// The platform's global functions.
#pragma once

#include <functional>
#include <string>

#include "platform/AfxTypes.h"

class CWinApp;
class CWnd;

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Prepares the platform once the Qt application exists: fonts, and the rule that only the
// application object ends the program.
void AfxWinInit();

// Makes TCP sockets usable for the rest of the run; FALSE when the system offers none.
BOOL AfxSocketInit();

// A modal box with the text and one OK button, titled with the application's name.
int AfxMessageBox(const std::string& text, UINT nType = MB_OK);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);

// The string of the string table with this id; empty when there is none.
std::string AfxLoadString(UINT nID);

// Runs a handler at an event boundary: an error that leaves it is shown in the default
// error report (a message box with a stop icon and the error's text), and the program goes on.
void AfxCallHandler(const std::function<void()>& handler);
