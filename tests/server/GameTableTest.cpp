#include <gtest/gtest.h>

#include "server/GameTable.h"

namespace {

using server::GameTable;

TEST(GameTable, RanksByScoreThenLowerTotalTimeThenName)
{
    GameTable table;
    const struct {
        std::int64_t id;
        const char* name;
        std::int64_t score;
        double totalTime;
    } rows[] = {{1, "cy", 900, 10.0}, {2, "bob", 1000, 20.0}, {3, "ann", 1000, 20.0}, {4, "dee", 1000, 19.5}, {5, "ed", -100, 0.0}};
    for (const auto& row : rows) {
        auto& standing = table.Row(row.id, row.name);
        standing.score = row.score;
        standing.totalTime = row.totalTime;
    }
    std::vector<std::string> order;
    for (const auto* standing : table.Ranked(4))
        order.push_back(standing->name);
    EXPECT_EQ(order, (std::vector<std::string>{"dee", "ann", "bob", "cy"}));
    EXPECT_EQ(table.All().size(), 5u);
    EXPECT_EQ(table.Row(2, "renamed").name, "bob");  // a row keeps the name it was made with
}

TEST(GameTable, ScoresOutsideTheWireRangeAreClamped)
{
    EXPECT_EQ(GameTable::WireScore(-5'000'000'000), INT32_MIN);
    EXPECT_EQ(GameTable::WireScore(5'000'000'000), INT32_MAX);
    EXPECT_EQ(GameTable::WireScore(-300), -300);
}

}  // namespace
