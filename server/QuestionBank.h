// The text format of a question bank: UTF-8, one question a line, seven tab-separated
// fields (category, question, correct answer, four wrong answers); empty lines and lines
// that start with '#' are skipped.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace server {

struct BankQuestion {
    std::string category;  // MOV, GEO, HIS, SPO or BUS
    std::string question;  // UTF-8, every character within Windows-1252
    std::string correct;
    std::array<std::string, 4> wrong;
};

struct BankProblem {
    int line;
    std::string reason;
};

struct ParsedBank {
    std::vector<BankQuestion> questions;
    std::vector<BankProblem> problems;
};

class QuestionBank {
public:
    static constexpr std::size_t kMaxQuestionLength = 300;
    static constexpr std::size_t kMaxAnswerLength = 100;

    static ParsedBank Parse(std::string_view text);
    static bool IsCategory(std::string_view code);
};

}  // namespace server
