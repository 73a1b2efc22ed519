#include "server/RateLimiter.h"

#include <algorithm>

namespace server {

RateLimiter::RateLimiter(double capacity, double refillSeconds)
    : capacity_(capacity), refillSeconds_(refillSeconds), tokens_(capacity)
{
}

bool RateLimiter::TryTake(Clock::time_point now)
{
    if (last_ != Clock::time_point{}) {
        const double elapsed = std::chrono::duration<double>(now - last_).count();
        tokens_ = std::min(capacity_, tokens_ + elapsed / refillSeconds_);
    }
    last_ = now;
    if (tokens_ < 1.0)
        return false;
    tokens_ -= 1.0;
    return true;
}

}  // namespace server
