#include <gtest/gtest.h>

#include <set>

#include "tests/server/support/Fixtures.h"
#include "tests/server/support/ServerProcess.h"
#include "tests/server/support/WireClient.h"

namespace {

using namespace server_test;

const std::string& Text(const wire::Message& message, std::size_t index)
{
    return std::get<std::string>(message.fields.at(index));
}

class Social : public testing::Test {
protected:
    void Start(int questions, const std::vector<std::string>& more = {})
    {
        PrepareStore(db, questions);
        auto options = FastGame(db, 3);
        options.insert(options.end(), more.begin(), more.end());
        server = std::make_unique<ServerProcess>(dir.Path("log"), options);
    }

    TempDir dir;
    const std::string db = dir.Path("store.db");
    std::unique_ptr<ServerProcess> server;
};

TEST_F(Social, MessagesGoToTheirRecipientWithTheSendersName)
{
    Start(20);
    WireClient cy, ann, bob;
    cy.Register({"cy", "pw"});
    ann.Register({"ann", "pw"});
    bob.Register({"bob", "pw"});

    ann.Send({"MESSAGE", {}});
    EXPECT_EQ(ann.Await("PLAYMESS").fields, (std::vector<wire::Field>{std::string("bob"), std::string("cy"), std::string("NOMORE")}));

    ann.Send({"SENDMESS", {std::string("bob"), std::string("hello, B\xF6rje")}});
    EXPECT_EQ(Text(bob.Await("RECMESS"), 0), "ann: hello, B\xF6rje");
    ann.Send({"SENDMESS", {std::string("BOB"), std::string("names are not case-sensitive")}});
    EXPECT_EQ(Text(bob.Await("RECMESS"), 0), "ann: names are not case-sensitive");

    ann.Send({"SENDMESS", {std::string("nobody"), std::string("hi")}});
    EXPECT_EQ(Text(ann.Await("RECMESS"), 0), "nobody is not connected, so the message was not delivered.");

    // A flood is cut short, and the sender is told.
    for (int i = 0; i < 30; ++i)
        ann.Send({"SENDMESS", {std::string("cy"), "spam " + std::to_string(i)}});
    ann.Sync();
    EXPECT_EQ(Text(ann.Await("RECMESS"), 0), "Not sent to cy: too many messages at once, please wait a moment.");
    cy.Sync();
    int delivered = 0;
    for (wire::Message message; cy.Next(message, 0ms);)
        delivered += message.word == "RECMESS";
    EXPECT_GE(delivered, 7);
    EXPECT_LT(delivered, 30);
}

TEST_F(Social, ProfilesShowWhatWasRegistered)
{
    Start(20);
    WireClient cy, ann;
    cy.Register({"cy", "pw", "Cy Clean", "Z\xFCrich", "Switzerland", "cy@example.org", "Owls", "Likes quizzes", "F", 41});
    ann.Register({"ann", "pw"});

    ann.Send({"SENDPROFILE", {std::string("cy")}});
    EXPECT_EQ(ann.Await("RECPROFILE").fields,
              (std::vector<wire::Field>{std::string("Switzerland"), std::string("Z\xFCrich"), std::string("cy@example.org"),
                                        std::string("Owls"), std::string("Likes quizzes"), std::string("F"), 41, 0, 0}));
    ann.Send({"SENDPROFILE", {std::string("nobody")}});
    const std::string none;
    EXPECT_EQ(ann.Await("RECPROFILE").fields, (std::vector<wire::Field>{none, none, none, none, none, none, 0, 0, 0}));
}

TEST_F(Social, SubmittedQuestionsArePlayedOnlyOnceApproved)
{
    Start(2, {"--game-pause-seconds", "3"});
    WireClient ann;
    ann.Register({"ann", "pw"});
    ann.Send({"NEWQUESTION", {std::string("Is this new?"), std::string("Yes"), std::string("No"), std::string("Maybe"),
                              std::string("Never"), std::string("Always"), 1}});
    ann.Send({"NEWQUESTION", {std::string("Half done?"), std::string("Yes"), std::string("No"), std::string("None given"),
                              std::string("None given"), std::string("None given"), 2}});
    EXPECT_TRUE(server->WaitForLog("question #3 from \"ann\" from 127.0.0.1:"));
    EXPECT_TRUE(server->WaitForLog("question #4 from \"ann\""));

    // The questions of the next game that starts, up to its winner.
    const auto playedTexts = [&] {
        std::set<std::string> texts;
        bool started = false;
        for (wire::Message message; ann.Next(message, 10s) && !(started && message.word == "ENDGAME");) {
            if (message.word != "QUESTION")
                continue;
            started = started || std::get<std::int32_t>(message.fields[7]) == 1;
            if (started)
                texts.insert(Text(message, 0));
        }
        return texts;
    };
    EXPECT_EQ(playedTexts(), (std::set<std::string>{"Question 1?", "Question 2?"}));

    const CommandResult listed = ServerProcess::Run({"review", "--db", db});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("#3  from ann  at "), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("  Is this new?\n  * 1. Yes\n    2. No\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("2 questions wait for review"), std::string::npos) << listed.out;

    const CommandResult halfDone = ServerProcess::Run({"review", "approve", "4", "GEO", "--db", db});
    EXPECT_EQ(halfDone.status, 1);
    EXPECT_EQ(halfDone.err, "vantix-server: question 4 not approved: answer 3 was left empty\n");
    EXPECT_EQ(ServerProcess::Run({"review", "reject", "4", "--db", db}).out, "question 4 rejected\n");
    const CommandResult approved = ServerProcess::Run({"review", "approve", "3", "GEO", "--db", db});
    EXPECT_EQ(approved.status, 0) << approved.err;
    EXPECT_EQ(approved.out, "question 3 approved; it is played from the next game on\n");

    EXPECT_EQ(playedTexts(), (std::set<std::string>{"Question 1?", "Question 2?", "Is this new?"}));
}

}  // namespace
