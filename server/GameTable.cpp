#include "server/GameTable.h"

#include <algorithm>
#include <cstdint>

namespace server {

Standing& GameTable::Row(std::int64_t accountId, const std::string& name)
{
    auto [it, added] = rows_.try_emplace(accountId);
    if (added) {
        it->second.accountId = accountId;
        it->second.name = name;
    }
    return it->second;
}

Standing* GameTable::Find(std::int64_t accountId)
{
    const auto it = rows_.find(accountId);
    return it == rows_.end() ? nullptr : &it->second;
}

bool GameTable::Better(const Standing& a, const Standing& b)
{
    if (a.score != b.score)
        return a.score > b.score;
    if (a.totalTime != b.totalTime)
        return a.totalTime < b.totalTime;
    return a.name < b.name;
}

std::int32_t GameTable::WireScore(std::int64_t score)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(score, INT32_MIN, INT32_MAX));
}

std::vector<const Standing*> GameTable::Ranked(std::size_t limit) const
{
    std::vector<const Standing*> rows;
    rows.reserve(rows_.size());
    for (const auto& [id, row] : rows_)
        rows.push_back(&row);
    const auto better = [](const Standing* a, const Standing* b) { return Better(*a, *b); };
    limit = std::min(limit, rows.size());
    std::partial_sort(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(limit), rows.end(), better);
    rows.resize(limit);
    return rows;
}

}  // namespace server
