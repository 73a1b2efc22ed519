#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <set>
#include <thread>

#include "tests/server/support/Fixtures.h"
#include "tests/server/support/ServerProcess.h"
#include "tests/server/support/WireClient.h"

namespace {

using namespace server_test;

std::int32_t Int(const wire::Message& message, std::size_t index) { return std::get<std::int32_t>(message.fields.at(index)); }
double Real(const wire::Message& message, std::size_t index) { return std::get<double>(message.fields.at(index)); }
const std::string& Text(const wire::Message& message, std::size_t index)
{
    return std::get<std::string>(message.fields.at(index));
}

// The client's points by seconds left, 1..29.
int PointsLeft(int secondsLeft)
{
    static const int kTable[] = {52,  105, 157, 210, 263, 315, 368, 421, 473, 526, 578, 631, 684, 736, 789,
                                 842, 894, 947, 1000};
    return secondsLeft >= 19 ? 1000 : kTable[secondsLeft - 1];
}

// A player that keeps its score as the real client does, with its countdown stepping 0.2 s
// after each question arrives, and reports it the same way.
class HonestPlayer {
public:
    explicit HonestPlayer(const std::string& name) : name(name) { client.Register({name, "pw-" + name}); }

    void OnQuestion(const wire::Message& question)
    {
        Settle();
        correct = Int(question, 6);
        number = Int(question, 7);
        if (number == 1)
            score = peekCost = 0;
        lastTime = 0.0;
    }
    void Settle()
    {
        if (answer != 0 && answer == correct)
            score += answerPoints;
        settledAnswer = answer;
        answer = answerPoints = 0;
    }
    void Choose(bool right, double seconds)
    {
        const int choice = right ? correct : correct % 5 + 1;
        const int points = PointsLeft(30 - (static_cast<int>(std::floor(seconds - 0.2)) + 1));
        totalTime = totalTime - lastTime;
        lastTime = seconds;
        totalTime = lastTime + totalTime;
        client.Send({"SCORE", {score - peekCost + (choice == correct ? points : 0), choice, answer, totalTime, lastTime}});
        answer = choice;
        answerPoints = points;
    }
    wire::Message Peek()
    {
        peekCost += 100;
        client.Send({"SCORE", {score - peekCost + (answer == correct ? answerPoints : 0), answer, answer, totalTime, lastTime}});
        client.Send({"PEEK", {}});
        return client.Await("RECPEEK");
    }
    int Shown() const { return score - peekCost; }

    std::string name;
    WireClient client;
    int correct = 0, number = 0, answer = 0, answerPoints = 0, settledAnswer = 0, score = 0, peekCost = 0;
    double totalTime = 0.0, lastTime = 0.0;
};

struct TopTenRow {
    std::string name;
    int score;
    int lastAnswer;
    double totalTime;
    double lastAnswerTime;
};

std::vector<TopTenRow> TopTen(WireClient& client)
{
    client.Send({"TOPTEN", {}});
    const wire::Message table = client.Await("TOPTEN");
    std::vector<TopTenRow> rows;
    for (std::size_t i = 0; Text(table, i) != "NOMORE"; i += 5)
        rows.push_back({Text(table, i), Int(table, i + 1), Int(table, i + 2), Real(table, i + 3), Real(table, i + 4)});
    return rows;
}

std::string Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char day[16];
    std::strftime(day, sizeof day, "%Y-%m-%d", &local);
    return day;
}

TEST(Game, ThreePlayersPlayAWholeGame)
{
    TempDir dir;
    const std::string db = dir.Path("store.db");
    PrepareStore(db, 20);
    ServerProcess server(dir.Path("log"), FastGame(db, 15));

    HonestPlayer ann("ann"), bob("bob"), cy("cy");
    HonestPlayer* players[] = {&ann, &bob, &cy};
    std::set<std::string> asked;
    std::set<int> correctPositions;
    static const char* const kCategories[] = {"MOV", "GEO", "HIS", "SPO", "BUS"};

    for (int number = 1; number <= 15; ++number) {
        for (HonestPlayer* player : players) {
            const wire::Message question = player->client.Await("QUESTION");
            player->OnQuestion(question);
            ASSERT_EQ(player->number, number);
            const std::string& text = Text(question, 0);
            const int n = std::stoi(text.substr(9));  // "Question N?"
            EXPECT_EQ(Text(question, 8), kCategories[(n - 1) % 5]);
            EXPECT_EQ(Text(question, static_cast<std::size_t>(player->correct)), "Right " + std::to_string(n));
            asked.insert(text);
            correctPositions.insert(player->correct);
        }
        // Everything settled so far agrees with what each client shows.
        for (const TopTenRow& row : TopTen(ann.client)) {
            const HonestPlayer* player = row.name == "ann" ? &ann : row.name == "bob" ? &bob : &cy;
            EXPECT_EQ(row.score, player->Shown()) << row.name << " before question " << number;
            EXPECT_EQ(row.lastAnswer, player->settledAnswer) << row.name << " before question " << number;
            EXPECT_NEAR(row.totalTime, player->totalTime, 1e-9) << row.name;
        }

        ann.Choose(true, 3.0);
        ann.client.Sync();
        bob.Choose(true, 2.0);
        bob.client.Sync();
        switch (number) {
        case 1: cy.Choose(true, 12.5); break;  // 894
        case 2: cy.Choose(false, 5.0); break;
        case 3: break;
        case 4:
            cy.Choose(false, 3.0);
            cy.Choose(true, 20.2);  // 473: only the latest choice counts
            break;
        case 5: {
            const wire::Message peek = cy.Peek();  // before choosing anything
            EXPECT_EQ(Int(peek, 0), 0);
            EXPECT_EQ(Int(peek, 1), 3);
            cy.Choose(true, 0.5);  // 1000
            break;
        }
        default:
            cy.Choose(true, 25.5);  // 210
            if (number == 6) {
                const wire::Message peek = cy.Peek();
                EXPECT_EQ(Int(peek, 0), 3);
                EXPECT_EQ(Int(peek, 1), 3);
            }
        }
    }
    const wire::Message end = ann.client.Await("ENDGAME");
    for (HonestPlayer* player : players)
        player->Settle();
    EXPECT_EQ(Text(end, 0), "bob");  // ties with ann on points, in less time
    EXPECT_EQ(Int(end, 1), 15000);
    EXPECT_EQ(Int(cy.client.Await("ENDGAME"), 1), 15000);
    EXPECT_EQ(asked.size(), 15u);
    EXPECT_GT(correctPositions.size(), 1u);

    const auto table = TopTen(cy.client);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].name, "bob");
    EXPECT_EQ(table[1].name, "ann");
    EXPECT_EQ(table[2].name, "cy");
    EXPECT_EQ(table[1].score, 15000);
    EXPECT_NEAR(table[0].totalTime, 30.0, 1e-9);
    EXPECT_NEAR(table[1].totalTime, 45.0, 1e-9);
    EXPECT_EQ(table[2].score, 894 + 473 + 1000 + 10 * 210 - 200);
    EXPECT_EQ(table[2].score, cy.Shown());
    EXPECT_NEAR(table[2].totalTime, 12.5 + 5.0 + 20.2 + 0.5 + 10 * 25.5, 1e-9);
    EXPECT_DOUBLE_EQ(table[2].lastAnswerTime, 25.5);
    EXPECT_EQ(table[2].lastAnswer, cy.settledAnswer);

    cy.client.Send({"HALL", {}});
    const wire::Message hall = cy.client.Await("HALL");
    const std::string today = Today();
    const std::vector<wire::Field> expectedList = {std::string("bob"), 15000, today, std::string("ann"), 15000, today,
                                                   std::string("cy"),  4267,  today, std::string("NOMORE")};
    std::vector<wire::Field> both = expectedList;
    both.insert(both.end(), expectedList.begin(), expectedList.end());
    EXPECT_EQ(hall.fields, both);

    EXPECT_TRUE(server.WaitForLog("game 1 finished with 3 players, stored as #1; winner \"bob\" with 15000"));
    EXPECT_EQ(CountRows(db, "SELECT count(*) FROM results WHERE game_id = 1"), 3);
    EXPECT_EQ(server.Terminate(), 0);
}

TEST(Game, ForgedScoresCannotRaiseAPlayer)
{
    TempDir dir;
    const std::string db = dir.Path("store.db");
    PrepareStore(db, 20);
    // Ten times the client's pace, trusting an answer's own time for 50 ms of network delay.
    ServerProcess server(dir.Path("log"), {"--db", db, "--question-seconds", "3", "--settle-seconds", "0.3",
                                           "--game-pause-seconds", "0.5", "--questions-per-game", "2",
                                           "--latency-allowance", "0.05"});
    WireClient mallory;
    mallory.Register({"mallory", "pw"});

    // Question 1: claims 15,000 points at once.
    wire::Message question = mallory.Await("QUESTION");
    mallory.Send({"SCORE", {15000, Int(question, 6), 0, 0.0, 0.0}});
    mallory.Sync();
    // Question 2: answers after 1.5 s (15 s of the client's countdown) and says it took no time.
    question = mallory.Await("QUESTION");
    EXPECT_EQ(TopTen(mallory).at(0).score, 1000);
    std::this_thread::sleep_for(1500ms);
    mallory.Send({"SCORE", {31000, Int(question, 6), 0, 0.0, 0.0}});
    mallory.Sync();

    const wire::Message end = mallory.Await("ENDGAME");
    const int total = Int(end, 1);
    EXPECT_LE(total, 1000 + 842) << "the second answer was seen 14.5 client seconds late at the least";
    EXPECT_GT(total, 1000);
    const auto row = TopTen(mallory).at(0);
    EXPECT_EQ(row.score, total);
    EXPECT_GE(row.lastAnswerTime, 14.5);
}

}  // namespace
