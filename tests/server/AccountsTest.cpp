#include <gtest/gtest.h>

#include "tests/server/support/Fixtures.h"
#include "tests/server/support/ServerProcess.h"
#include "tests/server/support/WireClient.h"

namespace {

using namespace server_test;

class Accounts : public testing::Test {
protected:
    void SetUp() override
    {
        PrepareStore(db, 20);
        server = std::make_unique<ServerProcess>(dir.Path("log"), std::vector<std::string>{"--db", db});
    }

    TempDir dir;
    const std::string db = dir.Path("store.db");
    std::unique_ptr<ServerProcess> server;
};

TEST_F(Accounts, RegistrationIsStoredAndOutlivesARestart)
{
    {
        WireClient ann;
        ann.Register({"ann", "pa55 word"});
    }
    EXPECT_TRUE(server->WaitForLog("registration \"ann\" from 127.0.0.1:"));
    EXPECT_TRUE(server->WaitForLog(": account created and logged in"));
    const auto hash = QueryStore(db, "SELECT password_hash FROM players WHERE name = 'ann'");
    ASSERT_EQ(hash.size(), 1u);
    EXPECT_EQ(hash[0].rfind("$argon2id$v=19$m=19456,t=2,p=1$", 0), 0u) << hash[0];
    EXPECT_EQ(hash[0].find("pa55"), std::string::npos);

    EXPECT_EQ(server->Terminate(), 0);
    server = std::make_unique<ServerProcess>(dir.Path("log2"), std::vector<std::string>{"--db", db});
    WireClient again;
    again.Login("ANN", "pa55 word");  // names are not case-sensitive
    EXPECT_TRUE(server->WaitForLog("login \"ANN\" from 127.0.0.1:"));
    EXPECT_TRUE(server->WaitForLog(": accepted"));
}

TEST_F(Accounts, RefusedLoginsAreAnsweredAndLogged)
{
    {
        WireClient ann;
        ann.Register({"ann", "right"});
    }
    WireClient oldClient;
    oldClient.Send({"LOGIN", {std::string("ann"), std::string("right"), std::string("1.0.0.3")}});
    oldClient.Await("BADVERSION");
    EXPECT_TRUE(oldClient.ClosedWithin(5s));
    EXPECT_TRUE(server->WaitForLog("client version \"1.0.0.3\" refused, answered BADVERSION"));

    WireClient guesser;
    guesser.Send({"LOGIN", {std::string("ann"), std::string("wrong"), std::string("1.0.0.4")}});
    wire::Message anything;
    EXPECT_FALSE(guesser.Next(anything, 1s)) << "the protocol has no answer to a wrong password";
    EXPECT_TRUE(guesser.ClosedWithin(5s));
    EXPECT_TRUE(server->WaitForLog("login \"ann\" from 127.0.0.1:"));
    EXPECT_TRUE(server->WaitForLog(": wrong password, connection closed"));
}

TEST_F(Accounts, TheFormReopensUntilTheNameCanBeUsed)
{
    {
        WireClient ann;
        ann.Register({"ann", "pw"});
    }
    WireClient newcomer;
    newcomer.Send({"LOGIN", {std::string("bob"), std::string("pw"), std::string("1.0.0.4")}});
    newcomer.Await("GETPLAYER");
    for (const char* refused : {"Ann", "NOMORE", " bob", ""}) {
        newcomer.Send(WireClient::NewPlayer({refused, "pw"}));
        newcomer.Await("GETPLAYER");
    }
    newcomer.Send(WireClient::NewPlayer({"bob2", "pw", "Bob Two", "Z\xFCrich", "CH"}));
    newcomer.Sync();
    EXPECT_TRUE(server->WaitForLog("registration \"Ann\" from 127.0.0.1:"));
    EXPECT_TRUE(server->WaitForLog("the name is taken, answered GETPLAYER"));
    EXPECT_TRUE(server->WaitForLog("refused, the name is reserved, answered GETPLAYER"));
    EXPECT_EQ(QueryStore(db, "SELECT name || '|' || clean_name || '|' || city_state FROM players ORDER BY id"),
              (std::vector<std::string>{"ann|Clean Name|Springfield, IL", "bob2|Bob Two|Z\xC3\xBCrich"}));
}

TEST_F(Accounts, NothingIsServedBeforeTheLogin)
{
    {
        WireClient ann;
        ann.Register({"ann", "pw"});
    }
    WireClient early;
    early.Send({"HALL", {}});
    early.Send({"MESSAGE", {}});
    early.Send({"LOGIN", {std::string("ann"), std::string("pw"), std::string("1.0.0.4")}});
    early.Send({"TOPTEN", {}});
    wire::Message first;
    ASSERT_TRUE(early.Next(first, 10s));
    EXPECT_EQ(first.word, "TOPTEN");
}

TEST_F(Accounts, ASecondLoginClosesTheFirstConnection)
{
    WireClient first;
    first.Register({"ann", "pw"});
    WireClient second;
    second.Login("ann", "pw");
    EXPECT_TRUE(first.ClosedWithin(5s));
    second.Sync();
    EXPECT_TRUE(server->WaitForLog("; the earlier connection of this player was closed"));
    EXPECT_TRUE(server->WaitForLog(": replaced by a new login of the same player"));
}

}  // namespace
