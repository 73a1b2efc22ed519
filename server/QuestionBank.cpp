#include "server/QuestionBank.h"

#include <algorithm>

#include "platform/Cp1252.h"

namespace server {
namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(Trim(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start)));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

// Why a field cannot travel as it is, or empty when it can.
std::string FieldProblem(std::string_view field, const char* name, std::size_t maxLength)
{
    if (field.empty())
        return std::string(name) + " is empty";
    const std::string wire = cp1252::FromUtf8(field);
    if (cp1252::ToUtf8(wire) != field)
        return std::string(name) + " has a character outside Windows-1252";
    if (wire.size() > maxLength)
        return std::string(name) + " is longer than " + std::to_string(maxLength) + " characters";
    return {};
}

}  // namespace

bool QuestionBank::IsCategory(std::string_view code)
{
    return code == "MOV" || code == "GEO" || code == "HIS" || code == "SPO" || code == "BUS";
}

ParsedBank QuestionBank::Parse(std::string_view text)
{
    static const char* const kNames[] = {"the question", "the correct answer", "wrong answer 1", "wrong answer 2",
                                         "wrong answer 3", "wrong answer 4"};
    ParsedBank bank;
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (Trim(line).empty() || line.front() == '#')
            continue;

        const auto fields = SplitTabs(line);
        const auto problem = [&](std::string reason) { bank.problems.push_back({lineNumber, std::move(reason)}); };
        if (fields.size() != 7) {
            problem("expected 7 tab-separated fields, found " + std::to_string(fields.size()));
            continue;
        }
        if (!IsCategory(fields[0])) {
            problem("unknown category \"" + std::string(fields[0]) + "\"");
            continue;
        }
        std::string reason;
        for (std::size_t i = 1; i < 7 && reason.empty(); ++i)
            reason = FieldProblem(fields[i], kNames[i - 1], i == 1 ? kMaxQuestionLength : kMaxAnswerLength);
        for (std::size_t i = 2; i < 7 && reason.empty(); ++i)
            for (std::size_t j = i + 1; j < 7 && reason.empty(); ++j)
                if (fields[i] == fields[j])
                    reason = std::string("two answers are the same: \"") + std::string(fields[i]) + "\"";
        if (!reason.empty()) {
            problem(reason);
            continue;
        }
        bank.questions.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                                  {std::string(fields[3]), std::string(fields[4]), std::string(fields[5]),
                                   std::string(fields[6])}});
    }
    return bank;
}

}  // namespace server
