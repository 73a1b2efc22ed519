#include "server/ScoreRules.h"

#include <algorithm>
#include <cmath>

namespace server {

ScoreRules::ScoreRules(double clockScale, double latencyAllowance)
    : clockScale_(clockScale), latencyAllowance_(latencyAllowance)
{
}

int ScoreRules::PointsLeft(int secondsLeft)
{
    if (secondsLeft >= 20)
        return 1000;
    // The client's own arithmetic, left to right in double precision, truncated.
    return static_cast<int>(secondsLeft * 0.05263157894736842 * 1000.0);
}

int ScoreRules::MostPointsAt(double clientSeconds)
{
    // With the first step a full second after arrival, floor(t) steps have run at time t.
    const double steps = std::floor(std::max(clientSeconds, 0.0));
    if (steps >= kCountdownSeconds - 1)
        return PointsLeft(1);  // a countdown held up by a busy client still shows its last value
    return PointsLeft(kCountdownSeconds - static_cast<int>(steps));
}

double ScoreRules::EffectiveSeconds(double reportedSeconds, double serverSecondsSinceSent) const
{
    const double reported = std::isfinite(reportedSeconds) ? std::max(reportedSeconds, 0.0) : 0.0;
    const double earliest = (serverSecondsSinceSent - latencyAllowance_) * clockScale_;
    return std::min(std::max(reported, earliest), static_cast<double>(kCountdownSeconds));
}

int ScoreRules::Award(bool correct, std::int64_t reportedPoints, double effectiveSeconds)
{
    if (!correct)
        return 0;
    return static_cast<int>(std::clamp<std::int64_t>(reportedPoints, 0, MostPointsAt(effectiveSeconds)));
}

}  // namespace server
