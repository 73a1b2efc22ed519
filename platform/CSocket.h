#pragma once

#include <string>

#include "platform/AfxTypes.h"

class SocketWatcher;

// A TCP stream socket whose reads and sends block, and whose arrivals are announced as
// notifications on the GUI thread. While a blocking call waits, no other event is handled.
//
// The socket keeps every byte it received that no reader used (given back through
// Unreceive); the next Receive returns those first, and they are announced again as
// arrived data, so that messages that came in one piece are all handled.
class CSocket {
public:
    // A blocking call that sees no progress for this long fails with ETIMEDOUT, so that a
    // silent peer cannot freeze the program.
    static constexpr int kStallTimeoutMs = 30'000;
    static constexpr int kConnectTimeoutMs = 15'000;

    CSocket();
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;
    virtual ~CSocket();

    // A socket bound to the given local port (0: any) and address (null: any), announcing
    // the events of lEvent (FD_READ, FD_CLOSE).
    BOOL Create(UINT nSocketPort = 0, int nSocketType = SOCK_STREAM_TYPE, long lEvent = 63,
                const char* lpszSocketAddress = nullptr);

    // Connects to a dotted IPv4 address (white space may follow it) or to the first IPv4
    // address of a host name. Waits until the connection is made or has failed.
    BOOL Connect(const char* lpszHostAddress, UINT nHostPort);

    // Returns as soon as at least one byte is there (kept bytes first), at most nBufLen;
    // 0 when the peer has closed the stream; -1 on failure (GetLastError tells why).
    int Receive(void* lpBuf, int nBufLen);

    // Sends all nBufLen bytes; returns nBufLen, or -1 on failure.
    int Send(const void* lpBuf, int nBufLen);

    void Close();
    int GetLastError() const { return m_nLastError; }

    // Takes back bytes that were received but not used; they come first at the next Receive.
    void Unreceive(const char* bytes, std::size_t count);
    void DiscardUnreceived() { m_unreceived.clear(); }
    bool HasUnreceived() const { return !m_unreceived.empty(); }

    // Notifications, called on the GUI thread; they do nothing unless overridden.
    virtual void OnReceive(int nErrorCode);
    virtual void OnClose(int nErrorCode);

    int SocketHandle() const { return m_hSocket; }

private:
    // Waits for the socket to become ready for `events`; false (with m_nLastError set) on
    // failure or when nothing happened within timeoutMs.
    bool WaitFor(short events, int timeoutMs);
    int Fail(int error);     // for calls that return a count
    BOOL Refuse(int error);  // for calls that return success

    int m_hSocket = -1;
    int m_nLastError = 0;
    long m_lEvent = 0;
    std::string m_unreceived;
    SocketWatcher* m_pWatcher = nullptr;
};
