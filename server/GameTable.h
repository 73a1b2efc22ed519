// The standings of the game being played: one row per account that has been sent a
// question of it, ranked by score, then by the lower total answer time, then by name.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace server {

struct Standing {
    std::int64_t accountId = 0;
    std::string name;  // as it travels
    std::int64_t score = 0;
    double totalTime = 0.0;   // sum of the accepted times of each question's latest answer
    int lastAnswer = 0;       // of the latest settled question, 0 when none
    double lastAnswerTime = 0.0;
};

class GameTable {
public:
    // The row of an account, made on first use.
    Standing& Row(std::int64_t accountId, const std::string& name);
    Standing* Find(std::int64_t accountId);

    // The best `limit` rows, best first.
    std::vector<const Standing*> Ranked(std::size_t limit) const;
    std::vector<const Standing*> All() const { return Ranked(rows_.size()); }

    void Clear() { rows_.clear(); }

    static bool Better(const Standing& a, const Standing& b);
    // A score as a 32-bit wire field; peeks without end could take it below the range.
    static std::int32_t WireScore(std::int64_t score);

private:
    std::unordered_map<std::int64_t, Standing> rows_;
};

}  // namespace server
