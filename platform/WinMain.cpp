// The program's entry point: the Qt application around the application object's start.
#include <QApplication>
#include <cstdio>

#include "platform/Afx.h"
#include "platform/CWinApp.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CWinApp* app = AfxGetApp();
    if (!app) {
        std::fprintf(stderr, "The program has no application object.\n");
        return 1;
    }
    AfxWinInit();
    if (app->InitInstance())
        return QApplication::exec();
    return 0;
}
