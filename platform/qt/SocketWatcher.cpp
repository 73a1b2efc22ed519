#include "platform/qt/SocketWatcher.h"

#include <sys/socket.h>

#include <cerrno>

#include "platform/Afx.h"
#include "platform/CSocket.h"

SocketWatcher::SocketWatcher(CSocket& socket, long events)
    : m_socket(socket), m_events(events), m_notifier(socket.SocketHandle(), QSocketNotifier::Read)
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &SocketWatcher::OnReadable);
}

void SocketWatcher::OnReadable()
{
    char byte;
    const ssize_t peeked = recv(m_socket.SocketHandle(), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (peeked > 0) {
        Announce(0);
    } else if (peeked == 0) {
        // The stream has ended: say so once, and stop watching a socket that stays readable.
        m_notifier.setEnabled(false);
        if (m_events & FD_CLOSE)
            AfxCallHandler([this] { m_socket.OnClose(0); });
    } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        m_pendingError = errno;
        Announce(m_pendingError);
    }
}

void SocketWatcher::AnnounceKeptBytes()
{
    if (m_keptBytesAnnounced)
        return;
    m_keptBytesAnnounced = true;
    QMetaObject::invokeMethod(this, &SocketWatcher::OnKeptBytes, Qt::QueuedConnection);
}

void SocketWatcher::OnKeptBytes()
{
    m_keptBytesAnnounced = false;
    if (m_socket.HasUnreceived())
        Announce(0);
}

void SocketWatcher::Announce(int errorCode)
{
    if (m_events & FD_READ)
        AfxCallHandler([this, errorCode] { m_socket.OnReceive(errorCode); });
}

int SocketWatcher::TakePendingError()
{
    const int error = m_pendingError;
    m_pendingError = 0;
    return error;
}
