#include "server/AdminCommands.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "server/QuestionBank.h"

namespace server {

int AdminCommands::Import(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(err_, "vantix-server: cannot read %s\n", path.c_str());
        return 1;
    }
    std::ostringstream text;
    text << file.rdbuf();
    const ParsedBank bank = QuestionBank::Parse(text.str());
    for (const BankProblem& problem : bank.problems)
        std::fprintf(err_, "%s:%d: %s\n", path.c_str(), problem.line, problem.reason.c_str());
    if (!bank.problems.empty()) {
        std::fprintf(err_, "vantix-server: nothing imported; %zu lines need fixing\n", bank.problems.size());
        return 1;
    }
    const ImportCounts counts = store_.ImportQuestions(bank.questions);
    std::fprintf(out_, "imported %d questions, skipped %d already stored\n", counts.added, counts.duplicates);
    return 0;
}

int AdminCommands::Review(const std::vector<std::string>& arguments)
{
    if (arguments.empty()) {
        const auto pending = store_.ListPending();
        for (const PendingQuestion& question : pending) {
            std::fprintf(out_, "#%lld  from %s  at %s\n  %s\n", static_cast<long long>(question.id),
                         question.submittedBy.c_str(), question.submittedAt.c_str(), question.question.c_str());
            for (int i = 0; i < 5; ++i)
                std::fprintf(out_, "  %c %d. %s\n", i + 1 == question.correct ? '*' : ' ', i + 1,
                             question.answers[static_cast<std::size_t>(i)].c_str());
            if (question.correct < 1 || question.correct > 5)
                std::fprintf(out_, "  (correct answer given as %d)\n", question.correct);
        }
        std::fprintf(out_, "%zu questions wait for review\n", pending.size());
        return 0;
    }
    char* end = nullptr;
    errno = 0;
    const long long id = std::strtoll(arguments[1].c_str(), &end, 10);
    if (arguments[1].empty() || *end != '\0' || errno != 0) {
        std::fprintf(err_, "vantix-server: \"%s\" is not a question number\n", arguments[1].c_str());
        return 2;
    }
    const bool approve = arguments[0] == "approve";
    const std::string problem = approve ? store_.Approve(id, arguments.size() > 2 ? arguments[2] : std::string()) : store_.Reject(id);
    if (!problem.empty()) {
        std::fprintf(err_, "vantix-server: question %lld not %s: %s\n", id, approve ? "approved" : "rejected", problem.c_str());
        return 1;
    }
    std::fprintf(out_, "question %lld %s\n", id, approve ? "approved; it is played from the next game on" : "rejected");
    return 0;
}

int AdminCommands::Players()
{
    const auto accounts = store_.ListAccounts();
    std::fprintf(out_, "%-32s  %-20s  %5s  %7s  %s\n", "name", "country", "games", "average", "registered");
    for (const AccountSummary& account : accounts)
        std::fprintf(out_, "%-32s  %-20s  %5d  %7d  %s\n", account.name.c_str(), account.country.c_str(),
                     account.gamesPlayed, account.averageScore, account.createdAt.c_str());
    std::fprintf(out_, "%zu accounts\n", accounts.size());
    return 0;
}

}  // namespace server
