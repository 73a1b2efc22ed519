// Tests of windows run real widgets on Qt's offscreen platform, with the platform prepared
// as the program prepares it.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/Afx.h"
#include "tests/support/TestMain.h"

int test_support::RunAllTests(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    AfxWinInit();
    return RUN_ALL_TESTS();
}
