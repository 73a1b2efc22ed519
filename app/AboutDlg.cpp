#include "app/AboutDlg.h"

#include "res/Resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
