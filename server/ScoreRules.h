// How many points one answer may earn. The client locks in the points its countdown shows
// when the answer is chosen and reports them; the server accepts that figure only up to the
// most the client could have shown at a moment no earlier than the server itself allows.
#pragma once

#include <cstdint>

namespace server {

class ScoreRules {
public:
    static constexpr int kCountdownSeconds = 30;
    static constexpr int kPeekCost = 100;

    // clockScale converts server seconds into the client's countdown seconds (1 when a
    // question lasts 30 s); latencyAllowance is the most network delay, both ways
    // together, that an answer's own time is trusted for.
    ScoreRules(double clockScale, double latencyAllowance);

    // The points the client shows while secondsLeft (1..29) seconds are left.
    static int PointsLeft(int secondsLeft);

    // The most points a client can have locked in clientSeconds after a question arrived.
    // Its countdown steps on a free-running tick, 0.2 to 1 s after arrival and then every
    // second; the latest first step is the most generous, so that is the bound.
    static int MostPointsAt(double clientSeconds);

    // The answer time the server accepts, in client seconds: what the client reports, but no
    // earlier than the server's own measurement since it sent the question allows.
    double EffectiveSeconds(double reportedSeconds, double serverSecondsSinceSent) const;

    // The points a choice wins: the points the client reports it locked in, kept within
    // zero and the bound at the accepted time; a wrong answer wins nothing.
    static int Award(bool correct, std::int64_t reportedPoints, double effectiveSeconds);

private:
    double clockScale_;
    double latencyAllowance_;
};

}  // namespace server
