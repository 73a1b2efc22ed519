#include "net/ServerDiscovery.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* kUser = "dbranum";
constexpr const char* kPassword = "Tb8kW4nq";
constexpr const char* kFileName = "server";
constexpr int kDefaultFtpPort = 21;
constexpr int kBufferSize = 1024;
// Each reply, and the data connection, is waited for at most this long.
constexpr int kWaitMs = 5000;

// A socket that closes itself.
class Socket {
public:
    explicit Socket(int fd = -1) : m_fd(fd) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() { Reset(); }
    void Reset(int fd = -1)
    {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = fd;
    }
    int Fd() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

bool WaitReadable(int fd)
{
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do {
        ready = poll(&entry, 1, kWaitMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

// One receive, waiting at most kWaitMs; -1 on failure or timeout.
ssize_t ReceiveWithin(int fd, char* buffer, std::size_t size)
{
    if (!WaitReadable(fd))
        return -1;
    ssize_t received;
    do {
        received = recv(fd, buffer, size, 0);
    } while (received < 0 && errno == EINTR);
    return received;
}

void SendText(int fd, const std::string& text) { send(fd, text.data(), text.size(), MSG_NOSIGNAL); }

// Reads one whole reply (a multi-line reply ends with the line "ddd text") and returns its
// code, or 0 when none came in time.
int ReceiveReply(int fd)
{
    std::string reply;
    char buffer[kBufferSize];
    for (;;) {
        const ssize_t received = ReceiveWithin(fd, buffer, sizeof buffer - 1);
        if (received <= 0)
            return 0;
        reply.append(buffer, static_cast<std::size_t>(received));
        // The last complete line of the reply decides whether it is finished.
        for (std::size_t start = 0, end; (end = reply.find("\r\n", start)) != std::string::npos; start = end + 2) {
            const std::string line = reply.substr(start, end - start);
            if (line.size() >= 4 && std::isdigit(static_cast<unsigned char>(line[0])) && line[3] == ' ' &&
                line.compare(0, 3, reply, 0, 3) == 0)
                return std::atoi(line.substr(0, 3).c_str());
        }
        if (reply.size() > 64 * kBufferSize)
            return 0;
    }
}

// A reply the server gives when it refuses a command: 4xx or 5xx, or none at all.
bool Refused(int code) { return code == 0 || code >= 400; }

bool ResolveHost(const char* host, in_addr& address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &results) != 0 || !results)
        return false;
    address = reinterpret_cast<sockaddr_in*>(results->ai_addr)->sin_addr;
    freeaddrinfo(results);
    return true;
}

int FtpPort()
{
    const servent* service = getservbyname("ftp", "tcp");
    return service ? ntohs(static_cast<std::uint16_t>(service->s_port)) : kDefaultFtpPort;
}

bool ConnectWithin(int fd, const sockaddr_in& remote)
{
    if (connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd entry{fd, POLLOUT, 0};
    if (poll(&entry, 1, kWaitMs) <= 0)
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
    return error == 0;
}

}  // namespace

BOOL DiscoverServerAddress(char (&szAddress)[kServerAddressBufferSize])
{
    sockaddr_in server{};
    server.sin_family = AF_INET;
    if (!ResolveHost(VANTIX_DISCOVERY_HOST, server.sin_addr))
        return 0;
    server.sin_port = htons(static_cast<std::uint16_t>(FtpPort()));

    Socket control(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!control.Valid() || !ConnectWithin(control.Fd(), server))
        return 0;

    ReceiveReply(control.Fd());  // the greeting
    SendText(control.Fd(), std::string("USER ") + kUser + "\r\n");
    if (Refused(ReceiveReply(control.Fd())))
        return 0;
    SendText(control.Fd(), std::string("PASS ") + kPassword + "\r\n");
    if (Refused(ReceiveReply(control.Fd())))
        return 0;

    Socket listener(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    if (!listener.Valid() || bind(listener.Fd(), reinterpret_cast<sockaddr*>(&any), sizeof any) != 0 ||
        listen(listener.Fd(), 1) != 0)
        return 0;
    sockaddr_in listening{};
    sockaddr_in local{};
    socklen_t length = sizeof listening;
    if (getsockname(listener.Fd(), reinterpret_cast<sockaddr*>(&listening), &length) != 0)
        return 0;
    length = sizeof local;
    if (getsockname(control.Fd(), reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;

    const std::uint32_t client = ntohl(local.sin_addr.s_addr);
    const std::uint16_t port = ntohs(listening.sin_port);
    char command[64];
    std::snprintf(command, sizeof command, "PORT %d,%d,%d,%d,%d,%d\r\n", (client >> 24) & 0xFF, (client >> 16) & 0xFF,
                  (client >> 8) & 0xFF, client & 0xFF, port >> 8, port & 0xFF);
    SendText(control.Fd(), command);
    if (Refused(ReceiveReply(control.Fd())))
        return 0;
    SendText(control.Fd(), std::string("RETR ") + kFileName + "\r\n");
    if (Refused(ReceiveReply(control.Fd())))
        return 0;

    if (!WaitReadable(listener.Fd()))
        return 0;
    Socket data(accept4(listener.Fd(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    listener.Reset();
    if (!data.Valid())
        return 0;

    // The fetched text is every byte received, however the transfer ended.
    char text[kBufferSize];
    std::size_t size = 0;
    while (size < sizeof text - 1) {
        const ssize_t received = ReceiveWithin(data.Fd(), text + size, sizeof text - 1 - size);
        if (received <= 0)
            break;
        size += static_cast<std::size_t>(received);
    }
    if (size >= sizeof szAddress)
        return 0;  // longer than any address: not what the file is for
    std::memcpy(szAddress, text, size);
    szAddress[size] = '\0';

    SendText(control.Fd(), "QUIT\r\n");
    ReceiveReply(control.Fd());
    return 1;
}
