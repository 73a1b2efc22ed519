#include <gtest/gtest.h>

#include "server/CommandLine.h"

namespace {

using server::Command;
using server::CommandLine;
using server::UsageError;

TEST(CommandLine, ServeIsTheDefaultWithTheUsualSettings)
{
    const auto invocation = CommandLine::Parse({});
    EXPECT_EQ(invocation.command, Command::Serve);
    EXPECT_EQ(invocation.settings.port, 2);
    EXPECT_EQ(invocation.settings.db, "vantix.db");
    EXPECT_EQ(invocation.settings.address, "");
    EXPECT_EQ(invocation.settings.timing.questionSeconds, 30);
    EXPECT_EQ(invocation.settings.timing.settleSeconds, 5);
    EXPECT_EQ(invocation.settings.timing.gamePauseSeconds, 20);
    EXPECT_EQ(invocation.settings.timing.questionsPerGame, 15);
}

TEST(CommandLine, TakesEveryOptionInBothForms)
{
    const auto invocation = CommandLine::Parse({"serve", "--address", "127.0.0.1", "--port=2002", "--db", "x.db",
                                                "--question-seconds", "0.5", "--settle-seconds=0.25",
                                                "--game-pause-seconds", "0", "--questions-per-game", "3"});
    const auto& s = invocation.settings;
    EXPECT_EQ(s.address, "127.0.0.1");
    EXPECT_EQ(s.port, 2002);
    EXPECT_EQ(s.db, "x.db");
    EXPECT_EQ(s.timing.questionSeconds, 0.5);
    EXPECT_EQ(s.timing.settleSeconds, 0.25);
    EXPECT_EQ(s.timing.gamePauseSeconds, 0);
    EXPECT_EQ(s.timing.questionsPerGame, 3);

    const auto review = CommandLine::Parse({"review", "approve", "7", "GEO", "--db", "y.db"});
    EXPECT_EQ(review.command, Command::Review);
    EXPECT_EQ(review.arguments, (std::vector<std::string>{"approve", "7", "GEO"}));
    EXPECT_EQ(review.settings.db, "y.db");
    EXPECT_EQ(CommandLine::Parse({"serve", "--help"}).command, Command::Help);
}

TEST(CommandLine, RefusesWhatItCannotUse)
{
    const std::vector<std::vector<std::string>> rows = {
        {"--port", "0"},          {"--port", "70000"},          {"--question-seconds", "0"},
        {"--settle-seconds", "-1"}, {"--question-seconds", "soon"}, {"--questions-per-game", "1.5"},
        {"--colour", "red"},      {"--db"},                     {"play"},
        {"import"},               {"review", "approve"},        {"players", "--port", "3"},
    };
    for (const auto& row : rows)
        EXPECT_THROW(CommandLine::Parse(row), UsageError) << row.front();
}

}  // namespace
