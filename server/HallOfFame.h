// The "HALL" answer: the best ten results of today and of the last 30 days. It changes only
// when a game is recorded or the day turns, so it is built once and then reused.
#pragma once

#include <string>

#include "server/Store.h"

namespace server {

class HallOfFame {
public:
    static constexpr int kDays = 30;

    explicit HallOfFame(Store& store) : store_(store) {}
    const std::string& Message();  // the encoded message
    void Invalidate() { day_.clear(); }

private:
    Store& store_;
    std::string day_;  // the day the message was built for; empty when it must be rebuilt
    std::string message_;
};

}  // namespace server
