#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "server/ScoreRules.h"

namespace {

using server::ScoreRules;

TEST(ScoreRules, PointsLeftFollowTheClientsTable)
{
    const int expected[] = {52,  105, 157, 210, 263, 315, 368, 421, 473, 526,  578,  631,  684,  736, 789,
                            842, 894, 947, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000};
    for (int t = 1; t <= 29; ++t)
        EXPECT_EQ(ScoreRules::PointsLeft(t), expected[t - 1]) << t << " seconds left";
}

// The client as it counts down: its first step comes `phase` seconds after the question
// arrived, one more every second; before it, the points left over from before still show.
int ClientPointsAt(double seconds, double phase, int leftOver)
{
    if (seconds < phase)
        return leftOver;
    const int steps = static_cast<int>(std::floor(seconds - phase)) + 1;
    return ScoreRules::PointsLeft(std::max(1, 30 - steps));
}

TEST(ScoreRules, TheBoundHoldsForEveryTickPhaseAndIsReachedByTheLatest)
{
    for (const double phase : {0.2, 0.35, 0.6, 0.999, 1.0})
        for (double seconds = 0.0; seconds < 30.0; seconds += 0.05)
            for (const int leftOver : {0, 52}) {
                const int bound = ScoreRules::MostPointsAt(seconds);
                ASSERT_LE(ClientPointsAt(seconds, phase, leftOver), bound) << seconds << " s, phase " << phase;
                if (phase == 1.0 && seconds >= 1.0) {
                    ASSERT_EQ(ClientPointsAt(seconds, phase, leftOver), bound) << seconds;
                }
            }
}

TEST(ScoreRules, BoundAtChosenMoments)
{
    const struct {
        double seconds;
        int points;
    } rows[] = {{-3, 1000}, {0, 1000}, {11.99, 1000}, {12.0, 947}, {12.5, 947}, {14.2, 842},
                {28.5, 105}, {29.0, 52}, {45.0, 52}};
    for (const auto& row : rows)
        EXPECT_EQ(ScoreRules::MostPointsAt(row.seconds), row.points) << row.seconds;
}

TEST(ScoreRules, AcceptedTimeIsTheReportUnlessTheServerSawItLater)
{
    const ScoreRules realTime(1.0, 1.0);
    const ScoreRules tenTimesFaster(10.0, 0.2);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const ScoreRules& rules;
        double reported;
        double sinceSent;
        double accepted;
    } rows[] = {
        {realTime, 5.0, 5.3, 5.0},     // network delay within the allowance
        {realTime, 5.0, 8.0, 7.0},     // reported early: no earlier than the server's view allows
        {realTime, nan, 3.0, 2.0},     // no usable report
        {realTime, -4.0, 0.5, 0.0},
        {realTime, 100.0, 10.0, 30.0},  // a late report costs its own points, within the countdown
        {tenTimesFaster, 0.0, 1.5, 13.0},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(row.rules.EffectiveSeconds(row.reported, row.sinceSent), row.accepted)
            << row.reported << " reported, " << row.sinceSent << " since sent";
}

TEST(ScoreRules, AwardTakesTheReportedPointsWithinTheBound)
{
    EXPECT_EQ(ScoreRules::Award(false, 1000, 1.0), 0);
    EXPECT_EQ(ScoreRules::Award(true, 15000, 1.0), 1000);
    EXPECT_EQ(ScoreRules::Award(true, 421, 3.0), 421);  // an honest client whose tick came early
    EXPECT_EQ(ScoreRules::Award(true, -50, 3.0), 0);
    EXPECT_EQ(ScoreRules::Award(true, 1000, 14.2), 842);
}

}  // namespace
