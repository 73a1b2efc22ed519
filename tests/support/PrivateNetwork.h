// Moves the test process into a network namespace of its own, where only loopback exists,
// so that nothing a test starts can reach another machine.
#pragma once

#include <string>

namespace test_support {

// Enters a new network namespace with the loopback device up. Returns an empty string on
// success, otherwise why it failed. Must run before the process starts any thread.
std::string EnterPrivateNetwork();

// Adds an IPv4 address (a /32) to the loopback device of the current namespace.
std::string AddLoopbackAddress(const std::string& dottedAddress);

}  // namespace test_support
