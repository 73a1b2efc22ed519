// A test's client of the game server: a blocking TCP connection that speaks the shared
// catalogue, with an inbox so that a test can wait for one kind of message while others
// (questions arrive on their own schedule) keep their order.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>

#include "net/MessageCatalogue.h"

namespace server_test {

using namespace std::chrono_literals;

struct Registration {
    std::string name;
    std::string password;
    std::string cleanName = "Clean Name";
    std::string cityState = "Springfield, IL";
    std::string country = "USA";
    std::string email = "None.";
    std::string team = "None.";
    std::string info = "None.";
    std::string sex = "?";
    std::int32_t age = 30;
};

class WireClient {
public:
    // receiveBuffer > 0 sets the socket's receive buffer (a small one fills up fast).
    explicit WireClient(std::uint16_t port = 2, int receiveBuffer = 0);
    ~WireClient();
    WireClient(const WireClient&) = delete;
    WireClient& operator=(const WireClient&) = delete;

    void Send(const wire::Message& message);
    void SendBytes(const std::string& bytes);  // throws when the server has gone

    // The next message with this word; the messages before it stay in the inbox. Throws on
    // a timeout or when the server closes the connection first.
    wire::Message Await(const std::string& word, std::chrono::milliseconds timeout = 10s);
    // The next message of any kind; false when none came within the timeout or the server closed first.
    bool Next(wire::Message& message, std::chrono::milliseconds timeout);
    // Whether the server closes the connection within the timeout; what arrives meanwhile is dropped.
    bool ClosedWithin(std::chrono::milliseconds timeout);

    // LOGIN, then a request that is answered only once the login has succeeded.
    void Login(const std::string& name, const std::string& password);
    // LOGIN of an unknown name, "GETPLAYER", "NEWPLAYER", and the same proof of success.
    void Register(const Registration& registration);
    // A round trip: once its answer is here, the server has handled everything sent before.
    void Sync();

    static wire::Message NewPlayer(const Registration& registration);

private:
    bool Receive(std::chrono::milliseconds timeout);  // one more message, unless timed out or closed

    int fd_ = -1;
    std::string buffer_;
    std::deque<wire::Message> inbox_;
    bool closed_ = false;
};

}  // namespace server_test
