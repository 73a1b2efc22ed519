// The main of every test program: the whole run happens inside a private network
// namespace, and a run that cannot make one fails instead of touching the host network.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/PrivateNetwork.h"
#include "tests/support/TestMain.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!GTEST_FLAG_GET(list_tests)) {
        const std::string error = test_support::EnterPrivateNetwork();
        if (!error.empty()) {
            std::fprintf(stderr, "FATAL: these tests run only inside a private network namespace, and none could be made (%s).\n"
                                 "Run them as root, or where unprivileged user namespaces are allowed.\n",
                         error.c_str());
            return 1;
        }
    }
    return test_support::RunAllTests(argc, argv);
}
