#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/server/support/Fixtures.h"
#include "tests/server/support/ServerProcess.h"
#include "tests/server/support/WireClient.h"

namespace {

using namespace server_test;

TEST(AdminCommands, ImportTakesAWholeBankOrNothing)
{
    TempDir dir;
    const std::string db = dir.Path("store.db");
    const std::string bad = dir.Path("bad.tsv");
    WriteFile(bad, FixtureBank(3) + "GEO\tOnly four?\ta\tb\tc\n");
    const CommandResult refused = ServerProcess::Run({"import", bad, "--db", db});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, bad + ":6: expected 7 tab-separated fields, found 5\nvantix-server: nothing imported; 1 lines need fixing\n");

    const std::string good = dir.Path("good.tsv");
    WriteFile(good, FixtureBank(20));
    const CommandResult first = ServerProcess::Run({"import", good, "--db", db});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "imported 20 questions, skipped 0 already stored\n");
    EXPECT_EQ(ServerProcess::Run({"import", good, "--db", db}).out, "imported 0 questions, skipped 20 already stored\n");
    EXPECT_EQ(CountRows(db, "SELECT count(*) FROM questions WHERE status = 'approved'"), 20);
}

TEST(AdminCommands, PlayersListsTheAccounts)
{
    TempDir dir;
    const std::string db = dir.Path("store.db");
    PrepareStore(db, 5);
    {
        ServerProcess server(dir.Path("log"), {"--db", db});
        WireClient client;
        client.Register({"ann", "pw"});
    }
    const CommandResult players = ServerProcess::Run({"players", "--db", db});
    EXPECT_EQ(players.status, 0);
    std::istringstream lines(players.out);
    std::string header, ann, total;
    std::getline(lines, header);
    std::getline(lines, ann);
    std::getline(lines, total);
    EXPECT_EQ(header.substr(0, 4), "name");
    EXPECT_EQ(ann.substr(0, 40), "ann                               USA   ");
    EXPECT_EQ(total, "1 accounts");
}

TEST(AdminCommands, AFreshStoreGetsTheBuiltInBank)
{
    std::ifstream file(std::string(VANTIX_SOURCE_DIR) + "/data/questions.tsv");
    int questions = 0;
    for (std::string line; std::getline(file, line);)
        questions += !line.empty() && line[0] != '#';
    TempDir dir;
    const std::string db = dir.Path("store.db");
    ServerProcess server(dir.Path("log"), {"--db", db});
    EXPECT_TRUE(server.WaitForLog("the store held no questions: imported " + std::to_string(questions) + " from the built-in bank"))
        << server.Log();
    EXPECT_EQ(CountRows(db, "SELECT count(*) FROM questions WHERE status = 'approved'"), questions);
}

}  // namespace
