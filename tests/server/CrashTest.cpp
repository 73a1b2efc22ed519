#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "tests/server/support/Fixtures.h"
#include "tests/server/support/ServerProcess.h"
#include "tests/server/support/WireClient.h"

namespace {

using namespace server_test;

TEST(Crash, KilledDuringAGameTheStoreKeepsEveryAccountAndFinishedGame)
{
    TempDir dir;
    const std::string db = dir.Path("store.db");
    PrepareStore(db, 20);
    {
        ServerProcess server(dir.Path("log"), FastGame(db, 2));
        WireClient ann, bob;
        ann.Register({"ann", "pw"});
        bob.Register({"bob", "pw"});
        const wire::Message question = ann.Await("QUESTION");
        ann.Send({"SCORE", {1000, std::get<std::int32_t>(question.fields[6]), 0, 1.0, 1.0}});
        ann.Await("ENDGAME");
        ann.Await("QUESTION");  // the second game is under way
        ann.Send({"PEEK", {}});
        ann.Await("RECPEEK");
        server.Kill();
    }
    EXPECT_EQ(QueryStore(db, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_EQ(QueryStore(db, "SELECT name FROM players ORDER BY name"), (std::vector<std::string>{"ann", "bob"}));
    EXPECT_EQ(QueryStore(db, "SELECT count(*) || ' ' || sum(score) FROM results"), std::vector<std::string>{"2 1000"});

    ServerProcess restarted(dir.Path("log2"), FastGame(db, 2));
    WireClient ann;
    ann.Login("ann", "pw");
    ann.Send({"SENDPROFILE", {std::string("ann")}});
    const wire::Message profile = ann.Await("RECPROFILE");
    EXPECT_EQ(std::get<std::int32_t>(profile.fields[7]), 1000);  // average score
    EXPECT_EQ(std::get<std::int32_t>(profile.fields[8]), 1);     // games played
}

TEST(Crash, AnAccountThatWasServedSurvivesAKillAtAnyMoment)
{
    TempDir dir;
    const std::string db = dir.Path("store.db");
    PrepareStore(db, 20);
    std::mt19937 random(12345);
    int served = 0;
    for (int round = 0; round < 5; ++round) {
        ServerProcess server(dir.Path("log" + std::to_string(round)), {"--db", db});
        constexpr int kClients = 6;
        std::atomic<bool> registered[kClients] = {};
        std::vector<std::thread> clients;
        for (int i = 0; i < kClients; ++i)
            clients.emplace_back([&, i] {
                try {
                    WireClient client;
                    client.Register({"p" + std::to_string(round) + "_" + std::to_string(i), "pw"});
                    registered[i] = true;
                } catch (const std::runtime_error&) {
                    // killed first
                }
            });
        // From before the first login has arrived to after the last account is in, a round at a time.
        std::this_thread::sleep_for(std::chrono::milliseconds(200 * round + std::uniform_int_distribution<int>(0, 100)(random)));
        server.Kill();
        for (std::thread& client : clients)
            client.join();

        ASSERT_EQ(QueryStore(db, "PRAGMA integrity_check"), std::vector<std::string>{"ok"}) << "round " << round;
        for (int i = 0; i < kClients; ++i)
            if (registered[i]) {
                ++served;
                const std::string name = "p" + std::to_string(round) + "_" + std::to_string(i);
                EXPECT_EQ(CountRows(db, "SELECT count(*) FROM players WHERE name = '" + name + "'"), 1) << name;
            }
    }
    EXPECT_GT(served, 0) << "no registration finished before a kill, so nothing was checked";
}

}  // namespace
