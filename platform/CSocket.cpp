#include "platform/CSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/qt/SocketWatcher.h"

namespace {

// The classic reading of an address text: a dotted address (inet_aton, which also takes
// the older short forms and allows white space after it), else a host name.
bool ResolveIPv4(const char* text, in_addr& address)
{
    if (inet_aton(text, &address) != 0)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    if (getaddrinfo(text, nullptr, &hints, &results) != 0 || results == nullptr)
        return false;
    address = reinterpret_cast<sockaddr_in*>(results->ai_addr)->sin_addr;
    freeaddrinfo(results);
    return true;
}

}  // namespace

CSocket::CSocket() = default;

CSocket::~CSocket() { Close(); }

int CSocket::Fail(int error)
{
    m_nLastError = error;
    return -1;
}

BOOL CSocket::Refuse(int error)
{
    m_nLastError = error;
    return FALSE;
}

BOOL CSocket::Create(UINT nSocketPort, int nSocketType, long lEvent, const char* lpszSocketAddress)
{
    if (nSocketType != SOCK_STREAM_TYPE)
        return Refuse(EPROTONOSUPPORT);
    m_hSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_hSocket < 0)
        return Refuse(errno);
    m_lEvent = lEvent;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(nSocketPort));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (lpszSocketAddress && !ResolveIPv4(lpszSocketAddress, local.sin_addr))
        return Refuse(EADDRNOTAVAIL);
    if (bind(m_hSocket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
        return Refuse(errno);
    return TRUE;
}

bool CSocket::WaitFor(short events, int timeoutMs)
{
    pollfd entry{m_hSocket, events, 0};
    for (;;) {
        const int ready = poll(&entry, 1, timeoutMs);
        if (ready > 0)
            return true;
        if (ready == 0)
            return Refuse(ETIMEDOUT);
        if (errno != EINTR)
            return Refuse(errno);
    }
}

BOOL CSocket::Connect(const char* lpszHostAddress, UINT nHostPort)
{
    if (m_hSocket < 0)
        return Refuse(EBADF);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<std::uint16_t>(nHostPort));
    if (!ResolveIPv4(lpszHostAddress, remote.sin_addr))
        return Refuse(EHOSTUNREACH);
    if (connect(m_hSocket, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        if (errno != EINPROGRESS)
            return Refuse(errno);
        if (!WaitFor(POLLOUT, kConnectTimeoutMs))
            return FALSE;
        int error = 0;
        socklen_t length = sizeof error;
        getsockopt(m_hSocket, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0)
            return Refuse(error);
    }
    if (m_lEvent & (FD_READ | FD_CLOSE))
        m_pWatcher = new SocketWatcher(*this, m_lEvent);
    return TRUE;
}

int CSocket::Receive(void* lpBuf, int nBufLen)
{
    if (!m_unreceived.empty()) {
        const auto count = std::min<std::size_t>(nBufLen, m_unreceived.size());
        std::memcpy(lpBuf, m_unreceived.data(), count);
        m_unreceived.erase(0, count);
        return static_cast<int>(count);
    }
    if (m_pWatcher) {
        if (const int pending = m_pWatcher->TakePendingError())
            return Fail(pending);
    }
    for (;;) {
        const ssize_t received = recv(m_hSocket, lpBuf, nBufLen, 0);
        if (received >= 0)
            return static_cast<int>(received);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return Fail(errno);
        if (!WaitFor(POLLIN, kStallTimeoutMs))
            return -1;
    }
}

int CSocket::Send(const void* lpBuf, int nBufLen)
{
    const char* bytes = static_cast<const char*>(lpBuf);
    for (int sent = 0; sent < nBufLen;) {
        const ssize_t count = send(m_hSocket, bytes + sent, nBufLen - sent, MSG_NOSIGNAL);
        if (count >= 0) {
            sent += static_cast<int>(count);
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return Fail(errno);
        if (!WaitFor(POLLOUT, kStallTimeoutMs))
            return -1;
    }
    return nBufLen;
}

void CSocket::Unreceive(const char* bytes, std::size_t count)
{
    m_unreceived.insert(0, bytes, count);
    if (m_pWatcher && count > 0)
        m_pWatcher->AnnounceKeptBytes();
}

void CSocket::Close()
{
    delete m_pWatcher;
    m_pWatcher = nullptr;
    if (m_hSocket >= 0)
        close(m_hSocket);
    m_hSocket = -1;
    m_unreceived.clear();
}

void CSocket::OnReceive(int) {}
void CSocket::OnClose(int) {}
