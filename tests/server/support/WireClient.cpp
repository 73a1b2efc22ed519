#include "tests/server/support/WireClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace server_test {

WireClient::WireClient(std::uint16_t port, int receiveBuffer)
{
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (receiveBuffer > 0)
        setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error(std::string("connect: ") + std::strerror(errno));
}

WireClient::~WireClient() { close(fd_); }

void WireClient::Send(const wire::Message& message) { SendBytes(wire::Encode(wire::Direction::ClientToServer, message)); }

void WireClient::SendBytes(const std::string& bytes)
{
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            throw std::runtime_error(std::string("send: ") + std::strerror(errno));
        sent += static_cast<std::size_t>(n);
    }
}

bool WireClient::Receive(std::chrono::milliseconds timeout)
{
    for (;;) {
        wire::Message message;
        const auto result = wire::Decode(wire::Direction::ServerToClient, buffer_, message, 1 << 20);
        if (result.status == wire::DecodeStatus::Invalid)
            throw std::runtime_error("the server sent an unreadable message: " + result.error);
        if (result.status == wire::DecodeStatus::Complete) {
            buffer_.erase(0, result.used);
            inbox_.push_back(std::move(message));
            return true;
        }
        if (closed_)
            return false;
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(timeout.count())) == 0)
            return false;
        char chunk[65536];
        const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
        if (n <= 0)
            closed_ = true;
        else
            buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

wire::Message WireClient::Await(const std::string& word, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (std::size_t checked = 0;;) {
        for (; checked < inbox_.size(); ++checked)
            if (inbox_[checked].word == word) {
                wire::Message message = std::move(inbox_[checked]);
                inbox_.erase(inbox_.begin() + static_cast<std::ptrdiff_t>(checked));
                return message;
            }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !Receive(left))
            throw std::runtime_error(closed_ ? "the server closed the connection before " + word + " arrived"
                                             : "no " + word + " arrived in time");
    }
}

bool WireClient::Next(wire::Message& message, std::chrono::milliseconds timeout)
{
    if (inbox_.empty() && !Receive(timeout))
        return false;
    message = std::move(inbox_.front());
    inbox_.pop_front();
    return true;
}

bool WireClient::ClosedWithin(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{fd_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) == 0)
            return false;
        char chunk[65536];
        if (recv(fd_, chunk, sizeof chunk, 0) <= 0)
            return true;
    }
}

void WireClient::Sync()
{
    Send({"TOPTEN", {}});
    Await("TOPTEN");
}

void WireClient::Login(const std::string& name, const std::string& password)
{
    Send({"LOGIN", {name, password, std::string("1.0.0.4")}});
    Sync();
}

wire::Message WireClient::NewPlayer(const Registration& r)
{
    return {"NEWPLAYER",
            {r.name, r.password, r.cleanName, r.cityState, r.country, r.email, r.team, r.info, r.sex, r.age}};
}

void WireClient::Register(const Registration& registration)
{
    Send({"LOGIN", {registration.name, registration.password, std::string("1.0.0.4")}});
    Await("GETPLAYER");
    Send(NewPlayer(registration));
    Sync();
}

}  // namespace server_test
