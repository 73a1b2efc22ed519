#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "tests/server/support/Fixtures.h"
#include "tests/server/support/ServerProcess.h"
#include "tests/server/support/WireClient.h"

namespace {

using namespace server_test;

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

std::string Word(const std::string& word) { return static_cast<char>(word.size()) + word; }

struct HostileRow {
    const char* name;
    bool logsInFirst;
    std::function<void(WireClient&)> act;
    const char* logged;  // what the log says about it; empty when the connection must stay open
};

void PrintTo(const HostileRow& row, std::ostream* out) { *out << row.name; }

class HostileInput : public testing::TestWithParam<HostileRow> {};

TEST_P(HostileInput, ClosesOnlyTheOffendingConnection)
{
    const HostileRow& row = GetParam();
    TempDir dir;
    const std::string db = dir.Path("store.db");
    PrepareStore(db, 20);
    auto options = FastGame(db, 3);
    options.insert(options.end(), {"--incomplete-seconds", "1"});
    ServerProcess server(dir.Path("log"), options);
    WireClient ann, bob;
    ann.Register({"ann", "pw"});
    bob.Register({"bob", "pw"});

    WireClient eve(2, 4096);
    if (row.logsInFirst)
        eve.Register({"eve", "pw"});
    row.act(eve);
    if (*row.logged) {
        EXPECT_TRUE(eve.ClosedWithin(10s));
        EXPECT_TRUE(server.WaitForLog(row.logged)) << server.Log();
    } else {
        eve.Sync();
    }

    for (WireClient* player : {&ann, &bob}) {
        wire::Message earlier;
        while (player->Next(earlier, 0ms)) {
        }
        player->Sync();
        player->Await("QUESTION");  // one sent after the offence
    }
    EXPECT_EQ(server.Log().find("error:"), std::string::npos) << server.Log();
    EXPECT_EQ(QueryStore(db, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_EQ(CountRows(db, "SELECT count(*) FROM players"), row.logsInFirst ? 3 : 2);
    EXPECT_EQ(server.Terminate(), 0);
}

void FloodWithoutReading(WireClient& client)
{
    std::string requests;
    for (int i = 0; i < 1000; ++i)
        requests += Word("TOPTEN");
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    try {
        while (std::chrono::steady_clock::now() < deadline)
            client.SendBytes(requests);
    } catch (const std::runtime_error&) {
        return;  // the server has closed the connection
    }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileInput,
    testing::Values(
        HostileRow{"UnknownWordBeforeLogin", false, [](WireClient& c) { c.SendBytes(Word("HELLO") + "rest"); },
                   "unreadable input (unknown command word)"},
        HostileRow{"LongStringBeforeLogin", false,
                   [](WireClient& c) {
                       c.Send({"LOGIN", {std::string(5000, 'x'), std::string("pw"), std::string("1.0.0.4")}});
                   },
                   "LOGIN login name: a string is longer than this reader accepts"},
        HostileRow{"UnknownWordAfterLogin", true, [](WireClient& c) { c.SendBytes(Word("POKE")); },
                   "unreadable input (unknown command word)"},
        HostileRow{"StringOver64KiB", true,
                   [](WireClient& c) {
                       c.SendBytes(Word("SENDMESS") + Word("ann") + Bytes({0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00}));
                   },
                   "SENDMESS text: a string is longer than this reader accepts"},
        HostileRow{"WideMarkerTwice", true,
                   [](WireClient& c) { c.SendBytes(Word("SENDPROFILE") + Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF})); },
                   "a wide-string marker follows a wide-string marker"},
        HostileRow{"MessageLeftIncomplete", true, [](WireClient& c) { c.SendBytes(Word("SCORE") + Bytes({1, 0})); },
                   "a message stayed incomplete for over 1 s"},
        HostileRow{"NoLogin", false, [](WireClient&) {}, "no login within 1 s"},
        HostileRow{"DoesNotRead", true, FloodWithoutReading, "KiB unsent: the client does not read"},
        HostileRow{"AbsurdValuesAreIgnored", true,
                   [](WireClient& c) {
                       c.Send({"SCORE", {INT32_MAX, 77, -5, kNaN, std::numeric_limits<double>::infinity()}});
                       c.Send({"SCORE", {INT32_MIN, 3, 1, -1.0, kNaN}});
                       c.Send({"LOGIN", {std::string("ann"), std::string("pw"), std::string("1.0.0.4")}});
                       c.Send(WireClient::NewPlayer({"eve2", "pw"}));
                       c.Send({"NEWQUESTION", {std::string(), std::string("a"), std::string("b"), std::string("c"),
                                               std::string("d"), std::string("e"), -9}});
                       for (int i = 0; i < 50; ++i)
                           c.Send({"PEEK", {}});
                   },
                   ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
