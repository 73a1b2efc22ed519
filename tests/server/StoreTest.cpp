#include <gtest/gtest.h>

#include <set>

#include "server/LocalDate.h"
#include "server/Store.h"
#include "tests/server/support/ServerProcess.h"

namespace {

using namespace server;

class StoreTest : public testing::Test {
protected:
    std::int64_t AddAccount(const std::string& name)
    {
        NewAccount account;
        account.name = name;
        account.passwordHash = "hash";
        account.country = "Country of " + name;
        std::int64_t id = 0;
        EXPECT_EQ(store.CreateAccount(account, id), CreateOutcome::Created);
        return id;
    }

    server_test::TempDir dir;
    Store store{dir.Path("store.db")};
};

TEST_F(StoreTest, NamesAreUniqueWithoutRegardToCase)
{
    AddAccount("Ann");
    NewAccount again;
    again.name = "aNN";
    std::int64_t id = 0;
    EXPECT_EQ(store.CreateAccount(again, id), CreateOutcome::NameTaken);
    const auto found = store.FindAccount("ANN");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "Ann");
    EXPECT_FALSE(store.FindAccount("Anne"));
}

TEST_F(StoreTest, RecordedGamesMakeTheProfileTotals)
{
    const std::int64_t ann = AddAccount("ann");
    const std::int64_t bob = AddAccount("bob");
    store.RecordGame({"2024-05-01", "2024-05-01 10:00:00", 15, {{ann, 5000, 40.0}, {bob, 1001, 90.0}}});
    store.RecordGame({"2024-05-01", "2024-05-01 10:10:00", 15, {{bob, 2000, 60.0}}});

    const auto profile = store.LoadProfile("BOB");
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->gamesPlayed, 2);
    EXPECT_EQ(profile->averageScore, 1501);  // 1500.5, rounded
    EXPECT_EQ(profile->country, "Country of bob");
    EXPECT_EQ(store.LoadProfile("ann")->averageScore, 5000);
    EXPECT_FALSE(store.LoadProfile("nobody"));
}

TEST_F(StoreTest, HallOfFameHoldsTheBestTenOfTodayAndOfThirtyDays)
{
    const std::string today = LocalDate::Today();
    const auto days = LocalDate::DaysEndingWith(today, 31);
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(std::set<std::string>(days.begin(), days.end()).size(), 31u);

    const std::int64_t ann = AddAccount("ann");
    const std::int64_t bob = AddAccount("bob");
    for (int i = 0; i < 11; ++i)  // eleven results today, 100..1100
        store.RecordGame({today, today + " 09:00:00", 15, {{ann, 100 * (i + 1), 50.0}}});
    store.RecordGame({today, today + " 10:00:00", 15, {{bob, 1100, 40.0}}});    // ties ann's best, in less time
    store.RecordGame({days[29], days[29] + " 10:00:00", 15, {{bob, 9000, 1.0}}});  // the 30th day: still in
    store.RecordGame({days[30], days[30] + " 10:00:00", 15, {{bob, 9999, 1.0}}});  // the 31st: out

    const auto hall = store.LoadHallOfFame(LocalDate::DaysEndingWith(today, 30));
    ASSERT_EQ(hall.today.size(), 10u);
    EXPECT_EQ(hall.today[0].name, "bob");
    EXPECT_EQ(hall.today[0].score, 1100);
    EXPECT_EQ(hall.today[1].name, "ann");
    EXPECT_EQ(hall.today[1].score, 1100);
    EXPECT_EQ(hall.today[9].score, 300);
    EXPECT_EQ(hall.today[0].date, today);

    ASSERT_EQ(hall.lastDays.size(), 10u);
    EXPECT_EQ(hall.lastDays[0].score, 9000);
    EXPECT_EQ(hall.lastDays[0].date, days[29]);
    EXPECT_EQ(hall.lastDays[1].name, "bob");
    EXPECT_EQ(hall.lastDays[9].score, 400);
}

TEST_F(StoreTest, SubmissionsArePlayedOnlyOnceApproved)
{
    const std::int64_t ann = AddAccount("ann");
    store.ImportQuestions({{"GEO", "Bank question?", "Right", {"W1", "W2", "W3", "W4"}}});
    const auto submit = [&](std::string question, std::array<std::string, 5> answers, int correct) {
        return store.SubmitQuestion({ann, std::move(question), std::move(answers), correct});
    };
    const std::int64_t good = submit("Good one?", {"a", "b", "c", "d", "e"}, 2);
    const std::int64_t outOfRange = submit("Seventh answer?", {"a", "b", "c", "d", "e"}, 7);
    const std::int64_t unfinished = submit("Unfinished?", {"a", "b", "None given", "None given", "None given"}, 1);
    const std::int64_t bad = submit("Bad one?", {"a", "b", "c", "d", "e"}, 1);
    const std::int64_t uncategorised = submit("No category?", {"a", "b", "c", "d", "e"}, 5);
    EXPECT_EQ(store.CountPendingBy(ann), 5);

    const auto drawnTexts = [&] {
        std::set<std::string> texts;
        for (const auto& question : store.DrawApprovedQuestions(100))
            texts.insert(question.question);
        return texts;
    };
    EXPECT_EQ(drawnTexts(), (std::set<std::string>{"Bank question?"}));

    EXPECT_EQ(store.Approve(good, "XYZ"), "the category must be one of MOV, GEO, HIS, SPO, BUS");
    EXPECT_EQ(store.Approve(outOfRange, "GEO"), "its correct answer is 7, not one of 1 to 5");
    EXPECT_EQ(store.Approve(unfinished, "GEO"), "answer 3 was left empty");
    EXPECT_EQ(store.Approve(good, "HIS"), "");
    EXPECT_EQ(store.Approve(good, "HIS"), "question " + std::to_string(good) + " is approved, not pending");
    EXPECT_EQ(store.Reject(bad), "");
    EXPECT_EQ(store.Approve(999, "GEO"), "there is no question 999");
    EXPECT_EQ(store.Approve(uncategorised, ""), "");

    EXPECT_EQ(drawnTexts(), (std::set<std::string>{"Bank question?", "Good one?", "No category?"}));
    for (const auto& question : store.DrawApprovedQuestions(100)) {
        if (question.question == "Good one?") {
            EXPECT_EQ(question.category, "HIS");
            EXPECT_EQ(question.correct, 2);
        }
        if (question.question == "No category?") {
            EXPECT_EQ(question.category, "");
        }
    }
    std::vector<std::int64_t> pending;
    for (const auto& question : store.ListPending())
        pending.push_back(question.id);
    EXPECT_EQ(pending, (std::vector<std::int64_t>{outOfRange, unfinished}));
}

TEST_F(StoreTest, ImportSkipsQuestionsStoredAlready)
{
    const std::vector<BankQuestion> bank = {{"GEO", "One?", "a", {"b", "c", "d", "e"}},
                                            {"MOV", "Two?", "a", {"b", "c", "d", "e"}},
                                            {"MOV", "One?", "x", {"b", "c", "d", "e"}}};
    const auto first = store.ImportQuestions(bank);
    EXPECT_EQ(first.added, 2);
    EXPECT_EQ(first.duplicates, 1);
    const auto second = store.ImportQuestions(bank);
    EXPECT_EQ(second.added, 0);
    EXPECT_EQ(store.CountQuestions(), 2);
}

}  // namespace
