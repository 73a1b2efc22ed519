#include "tests/support/PrivateNetwork.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace test_support {
namespace {

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out.flush());
}

std::string SetFlagsUp(int fd, const char* device)
{
    ifreq request{};
    std::strncpy(request.ifr_name, device, IFNAMSIZ - 1);
    if (ioctl(fd, SIOCGIFFLAGS, &request) != 0)
        return Errno(std::string("reading the flags of ") + device);
    request.ifr_flags |= IFF_UP;
    if (ioctl(fd, SIOCSIFFLAGS, &request) != 0)
        return Errno(std::string("bringing up ") + device);
    return {};
}

template <class Action>
std::string WithSocket(Action&& action)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Errno("creating a control socket");
    std::string result = action(fd);
    close(fd);
    return result;
}

}  // namespace

std::string EnterPrivateNetwork()
{
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    const int flags = uid == 0 ? CLONE_NEWNET : CLONE_NEWNET | CLONE_NEWUSER;
    if (unshare(flags) != 0)
        return Errno("unshare of the network namespace");
    if (uid != 0) {
        const bool mapped = WriteFile("/proc/self/setgroups", "deny") &&
                            WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
                            WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        if (!mapped)
            return "mapping the user into the new user namespace failed";
    }
    return WithSocket([](int fd) { return SetFlagsUp(fd, "lo"); });
}

std::string AddLoopbackAddress(const std::string& dottedAddress)
{
    return WithSocket([&](int fd) -> std::string {
        // An alias device of lo carries the extra address, as "ip addr add ... dev lo label" does.
        const std::string alias = "lo:" + std::to_string(std::hash<std::string>{}(dottedAddress) % 1000);
        ifreq request{};
        std::strncpy(request.ifr_name, alias.c_str(), IFNAMSIZ - 1);
        auto* address = reinterpret_cast<sockaddr_in*>(&request.ifr_addr);
        address->sin_family = AF_INET;
        if (inet_pton(AF_INET, dottedAddress.c_str(), &address->sin_addr) != 1)
            return "not a dotted address: " + dottedAddress;
        if (ioctl(fd, SIOCSIFADDR, &request) != 0)
            return Errno("adding " + dottedAddress + " to lo");
        inet_pton(AF_INET, "255.255.255.255", &address->sin_addr);
        if (ioctl(fd, SIOCSIFNETMASK, &request) != 0)
            return Errno("setting the netmask of " + dottedAddress);
        return SetFlagsUp(fd, alias.c_str());
    });
}

}  // namespace test_support
