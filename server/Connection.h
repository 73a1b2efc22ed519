// One client's TCP connection: frames the byte stream into messages of the shared
// catalogue, and enforces the limits that keep a hostile or stuck peer from costing the
// server more than a bounded amount of memory and time.
#pragma once

#include <asio.hpp>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "net/MessageCatalogue.h"

namespace server {

class Connection;

class ConnectionHandler {
public:
    virtual ~ConnectionHandler() = default;
    virtual void OnMessage(Connection& connection, wire::Message& message) = 0;
    // Called once, from the event loop, after the connection has been closed.
    virtual void OnClosed(std::uint64_t connectionId, const std::string& reason) = 0;
};

struct ConnectionLimits {
    std::uint32_t maxStringLength = 64 * 1024;
    std::size_t maxUnsentBytes = 64 * 1024;
};

class Connection : public std::enable_shared_from_this<Connection> {
public:
    using Clock = std::chrono::steady_clock;

    Connection(asio::ip::tcp::socket socket, std::uint64_t id, ConnectionHandler& handler, ConnectionLimits limits);

    void Start();

    // Hands the bytes to the socket at once as far as it takes them and queues the rest;
    // a client that lets too much queue up is closed.
    void Send(std::string_view bytes);

    // Closes at once; unsent bytes are dropped.
    void Close(const std::string& reason);
    // Sends what is queued, then ends the stream and closes once the client has seen it.
    void Finish(const std::string& reason);

    // The longest string accepted from now on; longer ones close the connection.
    void SetMaxStringLength(std::uint32_t length) { limits_.maxStringLength = length; }

    // While input is paused nothing is read or handled; bytes wait in the socket.
    void PauseInput();
    void ResumeInput();

    bool IsOpen() const { return !closed_; }
    std::uint64_t Id() const { return id_; }
    const std::string& Peer() const { return peer_; }
    // Since when the buffered bytes have been the start of a message that is not yet complete.
    std::optional<Clock::time_point> IncompleteSince() const;

private:
    void WaitReadable();
    void Take(const char* bytes, std::size_t size);
    void ReadAvailable(asio::error_code ec);
    void HandleInput();
    void WaitWritable();
    void Flush();
    void DrainAfterFinish();

    asio::ip::tcp::socket socket_;
    std::uint64_t id_;
    ConnectionHandler& handler_;
    ConnectionLimits limits_;
    std::string peer_;

    std::array<char, 256> firstBytes_;  // where a pending read puts what wakes it
    std::string input_;
    std::size_t inputNeeded_ = 1;  // decode again once this many bytes are buffered
    std::optional<Clock::time_point> incompleteSince_;
    std::string output_;           // bytes the socket has not yet taken
    std::size_t outputSent_ = 0;   // of output_, already sent

    bool paused_ = false;
    bool readWaiting_ = false;
    bool writeWaiting_ = false;
    bool finishing_ = false;
    bool closed_ = false;
    std::string finishReason_;
    std::unique_ptr<asio::steady_timer> finishTimer_;
};

}  // namespace server
