#include "tests/server/support/Fixtures.h"

#include <sqlite3.h>

#include <fstream>
#include <stdexcept>

#include "tests/server/support/ServerProcess.h"

namespace server_test {

std::string FixtureBank(int count)
{
    static const char* const kCategories[] = {"MOV", "GEO", "HIS", "SPO", "BUS"};
    std::string bank = "# fixture bank\n\n";
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        bank += std::string(kCategories[(i - 1) % 5]) + "\tQuestion " + n + "?\tRight " + n + "\tWrong " + n + "a\tWrong " +
                n + "b\tWrong " + n + "c\tWrong " + n + "d\n";
    }
    return bank;
}

std::vector<std::string> QueryStore(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        const std::string error = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error("query " + sql + ": " + error);
    }
    std::vector<std::string> rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        rows.push_back(text ? text : "");
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

std::int64_t CountRows(const std::string& path, const std::string& sql) { return std::stoll(QueryStore(path, sql).at(0)); }

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::vector<std::string> FastGame(const std::string& db, int questions)
{
    return {"--db", db, "--question-seconds", "0.8", "--settle-seconds", "0.4", "--game-pause-seconds", "1.5",
            "--questions-per-game", std::to_string(questions)};
}

}  // namespace server_test

namespace server_test {

void PrepareStore(const std::string& db, int questions)
{
    const std::string bank = db + ".bank.tsv";
    WriteFile(bank, FixtureBank(questions));
    const CommandResult imported = ServerProcess::Run({"import", bank, "--db", db});
    if (imported.status != 0)
        throw std::runtime_error("import failed: " + imported.err);
}

}  // namespace server_test
