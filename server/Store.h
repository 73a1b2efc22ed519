// The server's store: accounts, the question bank with its submissions, and every finished
// game. SQLite in WAL mode with synchronous=FULL, so that a commit survives a crash. One
// Store is one connection and is used by one thread at a time; all text in it is UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/QuestionBank.h"

struct sqlite3;

namespace server {

class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Account {
    std::int64_t id = 0;
    std::string name;
    std::string passwordHash;
};

struct NewAccount {
    std::string name;
    std::string passwordHash;
    std::string cleanName;
    std::string cityState;
    std::string country;
    std::string email;
    std::string team;
    std::string info;
    std::string sex;
    std::int32_t age = 0;
};

struct Profile {
    std::string country;
    std::string cityState;
    std::string email;
    std::string team;
    std::string info;
    std::string sex;
    std::int32_t age = 0;
    std::int32_t averageScore = 0;
    std::int32_t gamesPlayed = 0;
};

struct AccountSummary {
    std::string name;
    std::string country;
    std::string createdAt;
    std::int32_t gamesPlayed = 0;
    std::int32_t averageScore = 0;
};

struct StoredQuestion {
    std::string category;
    std::string question;
    std::array<std::string, 5> answers;
    int correct = 1;  // 1..5
};

struct Submission {
    std::int64_t accountId = 0;
    std::string question;
    std::array<std::string, 5> answers;
    std::int32_t correct = 0;  // as submitted, not yet checked
};

struct PendingQuestion {
    std::int64_t id = 0;
    std::string submittedBy;
    std::string submittedAt;
    std::string question;
    std::array<std::string, 5> answers;
    std::int32_t correct = 0;
};

struct GameResult {
    std::int64_t accountId = 0;
    std::int64_t score = 0;
    double totalTime = 0.0;
};

struct GameRecord {
    std::string playedOn;    // local date, "YYYY-MM-DD"
    std::string finishedAt;  // local time
    int questions = 0;
    std::vector<GameResult> results;  // best first: the first is the winner
};

struct HallRow {
    std::string name;
    std::int64_t score = 0;
    std::string date;
};

struct HallOfFameRows {
    std::vector<HallRow> today;
    std::vector<HallRow> lastDays;
};

struct ImportCounts {
    int added = 0;
    int duplicates = 0;
};

enum class CreateOutcome { Created, NameTaken };

class Store {
public:
    explicit Store(const std::string& path);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // Accounts; names compare without regard to ASCII letter case.
    std::optional<Account> FindAccount(const std::string& name);
    CreateOutcome CreateAccount(const NewAccount& account, std::int64_t& id);
    std::optional<Profile> LoadProfile(const std::string& name);
    std::vector<AccountSummary> ListAccounts();

    // The bank. A question whose text is stored already is a duplicate and is skipped.
    ImportCounts ImportQuestions(const std::vector<BankQuestion>& questions);
    std::int64_t CountQuestions();
    std::vector<StoredQuestion> DrawApprovedQuestions(int count);  // at random, no repeats

    // Submissions wait for review and are never drawn before they are approved.
    std::int64_t SubmitQuestion(const Submission& submission);
    int CountPendingBy(std::int64_t accountId);
    std::vector<PendingQuestion> ListPending();
    // Empty when done, otherwise why not.
    std::string Approve(std::int64_t id, const std::string& category);
    std::string Reject(std::int64_t id);

    // One transaction: the game, each player's result and each player's totals.
    std::int64_t RecordGame(const GameRecord& game);
    // The best ten results of days[0] and of all the days together.
    HallOfFameRows LoadHallOfFame(const std::vector<std::string>& days);

private:
    std::optional<PendingQuestion> FindPending(std::int64_t id, std::string& status);
    void Execute(const char* sql);

    sqlite3* db_ = nullptr;
};

}  // namespace server
