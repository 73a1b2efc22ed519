// A TCP peer for tests: listens on an address of the test's private network, takes
// connections, records every byte it receives, and sends what the test tells it to.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace test_support {

class ScriptedPeer {
public:
    ScriptedPeer(const std::string& address, std::uint16_t port);
    ScriptedPeer(const ScriptedPeer&) = delete;
    ScriptedPeer& operator=(const ScriptedPeer&) = delete;
    ~ScriptedPeer();

    std::uint16_t Port() const { return m_port; }

    // Waits until a connection has been taken; false after timeoutMs.
    bool WaitForConnection(int timeoutMs = 5000);
    int Connections() const;

    // Waits until at least `count` bytes have arrived (or timeoutMs passed); returns all so far.
    std::string WaitForBytes(std::size_t count, int timeoutMs = 5000);
    std::string Received() const;

    // Sends the bytes in one send on the current connection.
    void Send(const std::string& bytes);
    // Closes the current connection in order (the client sees the end of the stream).
    void Close();

private:
    void Serve();

    int m_listener = -1;
    std::uint16_t m_port = 0;
    int m_connection = -1;
    int m_connections = 0;
    bool m_stopping = false;
    std::string m_received;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
};

}  // namespace test_support
