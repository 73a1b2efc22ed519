#include "tests/support/ScriptedPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace test_support {

ScriptedPeer::ScriptedPeer(const std::string& address, std::uint16_t port)
{
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    inet_pton(AF_INET, address.c_str(), &local.sin_addr);
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || listen(m_listener, 4) != 0)
        throw std::runtime_error("cannot listen on " + address + ":" + std::to_string(port));
    socklen_t length = sizeof local;
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&local), &length);
    m_port = ntohs(local.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

ScriptedPeer::~ScriptedPeer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_thread.join();
    if (m_connection >= 0)
        close(m_connection);
    close(m_listener);
}

void ScriptedPeer::Serve()
{
    for (;;) {
        int connection;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
            connection = m_connection;
        }
        pollfd entry = connection >= 0 ? pollfd{connection, POLLIN, 0} : pollfd{m_listener, POLLIN, 0};
        if (poll(&entry, 1, 20) <= 0)
            continue;
        if (connection < 0) {
            const int accepted = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            std::lock_guard lock(m_mutex);
            m_connection = accepted;
            ++m_connections;
            m_changed.notify_all();
            continue;
        }
        char buffer[65536];
        const ssize_t received = recv(connection, buffer, sizeof buffer, MSG_DONTWAIT);
        std::lock_guard lock(m_mutex);
        if (received > 0)
            m_received.append(buffer, static_cast<std::size_t>(received));
        else if (received == 0 && m_connection == connection) {
            close(m_connection);  // the client went away; take the next connection
            m_connection = -1;
        }
        m_changed.notify_all();
    }
}

bool ScriptedPeer::WaitForConnection(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_connections > 0; });
}

int ScriptedPeer::Connections() const
{
    std::lock_guard lock(m_mutex);
    return m_connections;
}

std::string ScriptedPeer::WaitForBytes(std::size_t count, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_received.size() >= count; });
    return m_received;
}

std::string ScriptedPeer::Received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void ScriptedPeer::Send(const std::string& bytes)
{
    std::lock_guard lock(m_mutex);
    if (m_connection >= 0)
        send(m_connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void ScriptedPeer::Close()
{
    std::lock_guard lock(m_mutex);
    if (m_connection >= 0) {
        shutdown(m_connection, SHUT_WR);
        // Keep reading what the client still sends; the descriptor closes when it goes away.
    }
}

}  // namespace test_support
