#include <gtest/gtest.h>

#include "tests/support/TestMain.h"

int test_support::RunAllTests(int, char**) { return RUN_ALL_TESTS(); }
