#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "server/QuestionBank.h"

namespace {

using server::QuestionBank;

TEST(QuestionBank, ReadsGoodLinesAndNamesEveryBadOne)
{
    const std::string text =
        "# comment\n"
        "\n"
        "GEO\tCapital of France?\tParis\tLyon\tNice\tLille\tNantes\n"
        "MOV\tWho directed it?\tSomeone\tA\tB\tC\tD\r\n"        // 4: a line ending of another system
        "XYZ\tQ?\tA\tB\tC\tD\tE\n"                              // 5
        "HIS\tToo few\tfields\n"                                 // 6
        "SPO\tQ?\t\tB\tC\tD\tE\n"                                // 7
        "BUS\tQ?\tA\tB\tA\tD\tE\n"                               // 8
        "GEO\tWhere is \xE6\x9D\xB1\xE4\xBA\xAC?\tA\tB\tC\tD\tE\n"  // 9: a character outside Windows-1252
        "SPO\tCaf\xC3\xA9 rules?\tOui\tNon\tPeut-\xC3\xAAtre\tJamais\tToujours\n";
    const auto bank = QuestionBank::Parse(text);
    ASSERT_EQ(bank.questions.size(), 3u);
    EXPECT_EQ(bank.questions[0].category, "GEO");
    EXPECT_EQ(bank.questions[0].correct, "Paris");
    EXPECT_EQ(bank.questions[0].wrong[3], "Nantes");
    EXPECT_EQ(bank.questions[1].wrong[3], "D");
    EXPECT_EQ(bank.questions[2].question, "Caf\xC3\xA9 rules?");

    const std::vector<std::pair<int, std::string>> expected = {
        {5, "unknown category \"XYZ\""},
        {6, "expected 7 tab-separated fields, found 3"},
        {7, "the correct answer is empty"},
        {8, "two answers are the same: \"A\""},
        {9, "the question has a character outside Windows-1252"},
    };
    ASSERT_EQ(bank.problems.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bank.problems[i].line, expected[i].first);
        EXPECT_EQ(bank.problems[i].reason, expected[i].second);
    }
}

TEST(QuestionBank, RefusesAnswersLongerThanTheLimit)
{
    const std::string longAnswer(QuestionBank::kMaxAnswerLength + 1, 'x');
    const auto bank = QuestionBank::Parse("GEO\tQ?\t" + longAnswer + "\tB\tC\tD\tE\n");
    ASSERT_EQ(bank.problems.size(), 1u);
    EXPECT_EQ(bank.problems[0].reason, "the correct answer is longer than 100 characters");
}

}  // namespace

namespace {

TEST(QuestionBank, TheBuiltInBankIsCompleteAndClean)
{
    std::ifstream file(std::string(VANTIX_SOURCE_DIR) + "/data/questions.tsv", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    const auto bank = QuestionBank::Parse(text.str());
    for (const auto& problem : bank.problems)
        ADD_FAILURE() << "data/questions.tsv:" << problem.line << ": " << problem.reason;
    EXPECT_GE(bank.questions.size(), 300u);
    std::map<std::string, int> perCategory;
    std::set<std::string> texts;
    for (const auto& question : bank.questions) {
        ++perCategory[question.category];
        EXPECT_TRUE(texts.insert(question.question).second) << "asked twice: " << question.question;
    }
    for (const char* category : {"MOV", "GEO", "HIS", "SPO", "BUS"})
        EXPECT_GE(perCategory[category], 60) << category;
}

}  // namespace
