// Small fixtures shared by the server's tests: a question bank and a look into the store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace server_test {

// A bank of `count` questions, "Question N?" with the correct answer "Right N", over the
// five categories in turn.
std::string FixtureBank(int count);

// The first column of each row of a query on the store, as text.
std::vector<std::string> QueryStore(const std::string& path, const std::string& sql);
std::int64_t CountRows(const std::string& path, const std::string& sql);

// Writes text to a file.
void WriteFile(const std::string& path, const std::string& text);

// Makes a store at db that holds the fixture bank of `questions` questions.
void PrepareStore(const std::string& db, int questions);

// Options that run a game in a few seconds.
std::vector<std::string> FastGame(const std::string& db, int questions);

}  // namespace server_test
