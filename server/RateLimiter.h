// A token bucket: a burst of `capacity` actions, then one per `refillSeconds`.
#pragma once

#include <chrono>

namespace server {

class RateLimiter {
public:
    using Clock = std::chrono::steady_clock;

    RateLimiter(double capacity, double refillSeconds);
    bool TryTake(Clock::time_point now = Clock::now());

private:
    double capacity_;
    double refillSeconds_;
    double tokens_;
    Clock::time_point last_{};
};

}  // namespace server
