#include "server/Store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

#include "server/LocalDate.h"

namespace server {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS players (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE COLLATE NOCASE,
    password_hash TEXT NOT NULL,
    clean_name TEXT NOT NULL,
    city_state TEXT NOT NULL,
    country TEXT NOT NULL,
    email TEXT NOT NULL,
    team TEXT NOT NULL,
    info TEXT NOT NULL,
    sex TEXT NOT NULL,
    age INTEGER NOT NULL,
    games_played INTEGER NOT NULL DEFAULT 0,
    score_total INTEGER NOT NULL DEFAULT 0,
    created_at TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS questions (
    id INTEGER PRIMARY KEY,
    status TEXT NOT NULL CHECK (status IN ('approved', 'pending', 'rejected')),
    category TEXT,
    question TEXT NOT NULL,
    answer1 TEXT NOT NULL,
    answer2 TEXT NOT NULL,
    answer3 TEXT NOT NULL,
    answer4 TEXT NOT NULL,
    answer5 TEXT NOT NULL,
    correct INTEGER NOT NULL,
    submitted_by INTEGER REFERENCES players(id),
    created_at TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS questions_by_text ON questions (question);
CREATE INDEX IF NOT EXISTS questions_by_status ON questions (status, submitted_by);
CREATE TABLE IF NOT EXISTS games (
    id INTEGER PRIMARY KEY,
    played_on TEXT NOT NULL,
    finished_at TEXT NOT NULL,
    questions INTEGER NOT NULL,
    winner_id INTEGER REFERENCES players(id),
    winner_score INTEGER
);
CREATE TABLE IF NOT EXISTS results (
    game_id INTEGER NOT NULL REFERENCES games(id),
    player_id INTEGER NOT NULL REFERENCES players(id),
    played_on TEXT NOT NULL,
    score INTEGER NOT NULL,
    total_time REAL NOT NULL,
    PRIMARY KEY (game_id, player_id)
);
CREATE INDEX IF NOT EXISTS results_by_day ON results (played_on, score DESC, total_time, game_id);
PRAGMA user_version = 1;
)sql";

constexpr int kHallRows = 10;

class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            throw StoreError(std::string("preparing a statement: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, std::int64_t value) { return Check(sqlite3_bind_int64(statement_, index, value)); }
    Statement& Bind(int index, double value) { return Check(sqlite3_bind_double(statement_, index, value)); }
    Statement& Bind(int index, const std::string& value)
    {
        return Check(sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT));
    }
    Statement& BindNull(int index) { return Check(sqlite3_bind_null(statement_, index)); }

    // True while there is a row to read; false once the statement is done.
    bool Step()
    {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW)
            return true;
        if (result == SQLITE_DONE)
            return false;
        throw StoreError(sqlite3_errmsg(db_));
    }
    // A statement that must succeed but may break a uniqueness rule.
    bool StepUnlessDuplicate()
    {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_DONE)
            return true;
        if (sqlite3_extended_errcode(db_) == SQLITE_CONSTRAINT_UNIQUE)
            return false;
        throw StoreError(sqlite3_errmsg(db_));
    }
    void Reset()
    {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

    std::int64_t Int(int column) { return sqlite3_column_int64(statement_, column); }
    double Real(int column) { return sqlite3_column_double(statement_, column); }
    std::string Text(int column)
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))) : std::string();
    }

private:
    Statement& Check(int result)
    {
        if (result != SQLITE_OK)
            throw StoreError(std::string("binding a value: ") + sqlite3_errmsg(db_));
        return *this;
    }

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db_(db) { Run("BEGIN IMMEDIATE"); }
    ~Transaction()
    {
        if (!done_)
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit()
    {
        Run("COMMIT");
        done_ = true;
    }

private:
    void Run(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error ? error : sqlite3_errmsg(db_);
            sqlite3_free(error);
            throw StoreError(text);
        }
    }

    sqlite3* db_;
    bool done_ = false;
};

std::int32_t Average(std::int64_t total, std::int64_t games)
{
    return games == 0 ? 0 : static_cast<std::int32_t>(std::llround(static_cast<double>(total) / static_cast<double>(games)));
}

}  // namespace

Store::Store(const std::string& path)
{
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        const std::string error = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw StoreError("opening " + path + ": " + error);
    }
    try {
        sqlite3_busy_timeout(db_, 5000);
        Statement mode(db_, "PRAGMA journal_mode = WAL");
        if (!mode.Step() || mode.Text(0) != "wal")
            throw StoreError("the store cannot use write-ahead logging");
        Execute("PRAGMA synchronous = FULL");
        Execute("PRAGMA foreign_keys = ON");
        Execute(kSchema);
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

Store::~Store() { sqlite3_close(db_); }

void Store::Execute(const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw StoreError(text);
    }
}

std::optional<Account> Store::FindAccount(const std::string& name)
{
    Statement find(db_, "SELECT id, name, password_hash FROM players WHERE name = ?");
    find.Bind(1, name);
    if (!find.Step())
        return std::nullopt;
    return Account{find.Int(0), find.Text(1), find.Text(2)};
}

CreateOutcome Store::CreateAccount(const NewAccount& account, std::int64_t& id)
{
    Transaction transaction(db_);
    Statement insert(db_,
                     "INSERT INTO players (name, password_hash, clean_name, city_state, country, email, team, info, sex,"
                     " age, created_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.Bind(1, account.name).Bind(2, account.passwordHash).Bind(3, account.cleanName).Bind(4, account.cityState);
    insert.Bind(5, account.country).Bind(6, account.email).Bind(7, account.team).Bind(8, account.info);
    insert.Bind(9, account.sex).Bind(10, std::int64_t{account.age}).Bind(11, LocalDate::Timestamp());
    if (!insert.StepUnlessDuplicate())
        return CreateOutcome::NameTaken;
    id = sqlite3_last_insert_rowid(db_);
    transaction.Commit();
    return CreateOutcome::Created;
}

std::optional<Profile> Store::LoadProfile(const std::string& name)
{
    Statement find(db_,
                   "SELECT country, city_state, email, team, info, sex, age, score_total, games_played"
                   " FROM players WHERE name = ?");
    find.Bind(1, name);
    if (!find.Step())
        return std::nullopt;
    return Profile{find.Text(0), find.Text(1), find.Text(2), find.Text(3), find.Text(4), find.Text(5),
                   static_cast<std::int32_t>(find.Int(6)), Average(find.Int(7), find.Int(8)),
                   static_cast<std::int32_t>(find.Int(8))};
}

std::vector<AccountSummary> Store::ListAccounts()
{
    Statement list(db_, "SELECT name, country, created_at, games_played, score_total FROM players ORDER BY name");
    std::vector<AccountSummary> accounts;
    while (list.Step())
        accounts.push_back({list.Text(0), list.Text(1), list.Text(2), static_cast<std::int32_t>(list.Int(3)),
                            Average(list.Int(4), list.Int(3))});
    return accounts;
}

ImportCounts Store::ImportQuestions(const std::vector<BankQuestion>& questions)
{
    Transaction transaction(db_);
    Statement exists(db_, "SELECT 1 FROM questions WHERE question = ?");
    Statement insert(db_,
                     "INSERT INTO questions (status, category, question, answer1, answer2, answer3, answer4, answer5,"
                     " correct, created_at) VALUES ('approved', ?, ?, ?, ?, ?, ?, ?, 1, ?)");
    const std::string now = LocalDate::Timestamp();
    ImportCounts counts;
    for (const BankQuestion& question : questions) {
        exists.Bind(1, question.question);
        const bool duplicate = exists.Step();
        exists.Reset();
        if (duplicate) {
            ++counts.duplicates;
            continue;
        }
        insert.Bind(1, question.category).Bind(2, question.question).Bind(3, question.correct);
        for (int i = 0; i < 4; ++i)
            insert.Bind(4 + i, question.wrong[static_cast<std::size_t>(i)]);
        insert.Bind(8, now);
        insert.Step();
        insert.Reset();
        ++counts.added;
    }
    transaction.Commit();
    return counts;
}

std::int64_t Store::CountQuestions()
{
    Statement count(db_, "SELECT count(*) FROM questions");
    count.Step();
    return count.Int(0);
}

std::vector<StoredQuestion> Store::DrawApprovedQuestions(int count)
{
    Statement draw(db_,
                   "SELECT category, question, answer1, answer2, answer3, answer4, answer5, correct FROM questions"
                   " WHERE status = 'approved' ORDER BY random() LIMIT ?");
    draw.Bind(1, std::int64_t{count});
    std::vector<StoredQuestion> questions;
    while (draw.Step()) {
        StoredQuestion question{draw.Text(0), draw.Text(1), {}, static_cast<int>(draw.Int(7))};
        for (int i = 0; i < 5; ++i)
            question.answers[static_cast<std::size_t>(i)] = draw.Text(2 + i);
        questions.push_back(std::move(question));
    }
    return questions;
}

std::int64_t Store::SubmitQuestion(const Submission& submission)
{
    Transaction transaction(db_);
    Statement insert(db_,
                     "INSERT INTO questions (status, question, answer1, answer2, answer3, answer4, answer5, correct,"
                     " submitted_by, created_at) VALUES ('pending', ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.Bind(1, submission.question);
    for (int i = 0; i < 5; ++i)
        insert.Bind(2 + i, submission.answers[static_cast<std::size_t>(i)]);
    insert.Bind(7, std::int64_t{submission.correct}).Bind(8, submission.accountId).Bind(9, LocalDate::Timestamp());
    insert.Step();
    const std::int64_t id = sqlite3_last_insert_rowid(db_);
    transaction.Commit();
    return id;
}

int Store::CountPendingBy(std::int64_t accountId)
{
    Statement count(db_, "SELECT count(*) FROM questions WHERE status = 'pending' AND submitted_by = ?");
    count.Bind(1, accountId);
    count.Step();
    return static_cast<int>(count.Int(0));
}

std::vector<PendingQuestion> Store::ListPending()
{
    Statement list(db_,
                   "SELECT q.id, coalesce(p.name, ''), q.created_at, q.question, q.answer1, q.answer2, q.answer3,"
                   " q.answer4, q.answer5, q.correct FROM questions q LEFT JOIN players p ON p.id = q.submitted_by"
                   " WHERE q.status = 'pending' ORDER BY q.id");
    std::vector<PendingQuestion> pending;
    while (list.Step()) {
        PendingQuestion question{list.Int(0), list.Text(1), list.Text(2), list.Text(3), {},
                                 static_cast<std::int32_t>(list.Int(9))};
        for (int i = 0; i < 5; ++i)
            question.answers[static_cast<std::size_t>(i)] = list.Text(4 + i);
        pending.push_back(std::move(question));
    }
    return pending;
}

std::optional<PendingQuestion> Store::FindPending(std::int64_t id, std::string& status)
{
    Statement find(db_, "SELECT status, question, answer1, answer2, answer3, answer4, answer5, correct FROM questions WHERE id = ?");
    find.Bind(1, id);
    if (!find.Step())
        return std::nullopt;
    status = find.Text(0);
    PendingQuestion question{id, {}, {}, find.Text(1), {}, static_cast<std::int32_t>(find.Int(7))};
    for (int i = 0; i < 5; ++i)
        question.answers[static_cast<std::size_t>(i)] = find.Text(2 + i);
    return question;
}

std::string Store::Approve(std::int64_t id, const std::string& category)
{
    if (!category.empty() && !QuestionBank::IsCategory(category))
        return "the category must be one of MOV, GEO, HIS, SPO, BUS";
    Transaction transaction(db_);
    std::string status;
    const auto question = FindPending(id, status);
    if (!question)
        return "there is no question " + std::to_string(id);
    if (status != "pending")
        return "question " + std::to_string(id) + " is " + status + ", not pending";
    if (question->correct < 1 || question->correct > 5)
        return "its correct answer is " + std::to_string(question->correct) + ", not one of 1 to 5";
    for (std::size_t i = 0; i < 5; ++i) {
        const std::string& answer = question->answers[i];
        if (answer.empty() || answer == "None given")
            return "answer " + std::to_string(i + 1) + " was left empty";
        for (std::size_t j = i + 1; j < 5; ++j)
            if (answer == question->answers[j])
                return "answers " + std::to_string(i + 1) + " and " + std::to_string(j + 1) + " are the same";
    }
    Statement update(db_, "UPDATE questions SET status = 'approved', category = ? WHERE id = ?");
    update.Bind(1, category).Bind(2, id);
    update.Step();
    transaction.Commit();
    return {};
}

std::string Store::Reject(std::int64_t id)
{
    Transaction transaction(db_);
    std::string status;
    if (!FindPending(id, status))
        return "there is no question " + std::to_string(id);
    if (status != "pending")
        return "question " + std::to_string(id) + " is " + status + ", not pending";
    Statement update(db_, "UPDATE questions SET status = 'rejected' WHERE id = ?");
    update.Bind(1, id);
    update.Step();
    transaction.Commit();
    return {};
}

std::int64_t Store::RecordGame(const GameRecord& game)
{
    Transaction transaction(db_);
    Statement insertGame(db_,
                         "INSERT INTO games (played_on, finished_at, questions, winner_id, winner_score)"
                         " VALUES (?, ?, ?, ?, ?)");
    insertGame.Bind(1, game.playedOn).Bind(2, game.finishedAt).Bind(3, std::int64_t{game.questions});
    if (game.results.empty())
        insertGame.BindNull(4).BindNull(5);
    else
        insertGame.Bind(4, game.results.front().accountId).Bind(5, game.results.front().score);
    insertGame.Step();
    const std::int64_t gameId = sqlite3_last_insert_rowid(db_);

    Statement insertResult(db_,
                           "INSERT INTO results (game_id, player_id, played_on, score, total_time) VALUES (?, ?, ?, ?, ?)");
    Statement addTotals(db_,
                        "UPDATE players SET games_played = games_played + 1, score_total = score_total + ? WHERE id = ?");
    for (const GameResult& result : game.results) {
        insertResult.Bind(1, gameId).Bind(2, result.accountId).Bind(3, game.playedOn).Bind(4, result.score);
        insertResult.Bind(5, result.totalTime);
        insertResult.Step();
        insertResult.Reset();
        addTotals.Bind(1, result.score).Bind(2, result.accountId);
        addTotals.Step();
        addTotals.Reset();
    }
    transaction.Commit();
    return gameId;
}

HallOfFameRows Store::LoadHallOfFame(const std::vector<std::string>& days)
{
    struct Ranked {
        HallRow row;
        double totalTime;
        std::int64_t gameId;
    };
    // Each day's best ten come straight from the index; the best of all days are among them.
    Statement best(db_,
                   "SELECT p.name, r.score, r.played_on, r.total_time, r.game_id FROM results r"
                   " JOIN players p ON p.id = r.player_id WHERE r.played_on = ?"
                   " ORDER BY r.score DESC, r.total_time, r.game_id LIMIT ?");
    std::vector<Ranked> all;
    HallOfFameRows hall;
    for (std::size_t i = 0; i < days.size(); ++i) {
        best.Bind(1, days[i]).Bind(2, std::int64_t{kHallRows});
        while (best.Step()) {
            Ranked ranked{{best.Text(0), best.Int(1), best.Text(2)}, best.Real(3), best.Int(4)};
            if (i == 0)
                hall.today.push_back(ranked.row);
            all.push_back(std::move(ranked));
        }
        best.Reset();
    }
    std::stable_sort(all.begin(), all.end(), [](const Ranked& a, const Ranked& b) {
        if (a.row.score != b.row.score)
            return a.row.score > b.row.score;
        if (a.totalTime != b.totalTime)
            return a.totalTime < b.totalTime;
        return a.gameId < b.gameId;
    });
    for (std::size_t i = 0; i < all.size() && i < kHallRows; ++i)
        hall.lastDays.push_back(all[i].row);
    return hall;
}

}  // namespace server
