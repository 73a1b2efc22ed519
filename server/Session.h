// One connected client as the server sees it: where its login stands, the account it plays
// under, and a mirror of the score the client itself keeps.
#pragma once

#include <chrono>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "server/Connection.h"
#include "server/RateLimiter.h"

namespace server {

enum class SessionState { AwaitingLogin, CheckingPassword, AwaitingRegistration, Registering, Playing, Replaced };

// The client's own score bookkeeping, followed message by message. A "SCORE" reports the
// client's score plus the points its choice has locked in; knowing the first, the server
// can read off the second.
struct ClientView {
    std::int64_t score = 0;     // points the client has settled in this game
    std::int64_t peekCost = 0;
    int answer = 0;             // its latest choice in the open question
    std::int64_t answerPoints = 0;
};

struct Session {
    static constexpr std::size_t kNotListed = std::numeric_limits<std::size_t>::max();

    std::shared_ptr<Connection> connection;
    SessionState state = SessionState::AwaitingLogin;
    std::chrono::steady_clock::time_point connectedAt;
    std::string loginName;  // as given in "LOGIN", for the log
    std::int64_t accountId = 0;
    std::string name;       // the account's name, as it travels
    ClientView client;
    RateLimiter messages{10, 1.0};
    std::size_t rosterIndex = kNotListed;  // place among the game's players
};

}  // namespace server
