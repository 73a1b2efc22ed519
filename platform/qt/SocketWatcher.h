#pragma once

#include <QObject>
#include <QSocketNotifier>

class CSocket;

// Turns readiness of a socket into its notifications on the GUI thread: bytes waiting (or a
// receive error) call OnReceive, the peer's orderly close calls OnClose once, and bytes the
// socket kept from an earlier reader are announced like fresh arrivals.
class SocketWatcher : public QObject {
    Q_OBJECT
public:
    SocketWatcher(CSocket& socket, long events);

    // Posts one data-arrived notification for the bytes the socket keeps.
    void AnnounceKeptBytes();

    // The receive error seen while peeking, handed to the next receive; 0 if none.
    int TakePendingError();

private:
    void OnReadable();
    void OnKeptBytes();
    void Announce(int errorCode);

    CSocket& m_socket;
    long m_events;
    QSocketNotifier m_notifier;
    bool m_keptBytesAnnounced = false;
    int m_pendingError = 0;
};
