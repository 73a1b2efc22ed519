#pragma once

namespace test_support {

// Runs the tests once the process is in its private network; the Qt test main sets up
// the application object around them.
int RunAllTests(int argc, char** argv);

}  // namespace test_support
