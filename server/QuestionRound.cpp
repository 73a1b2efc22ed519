#include "server/QuestionRound.h"

namespace server {

void QuestionRound::Start(PlayedQuestion question)
{
    question_ = std::move(question);
    open_ = true;
    choices_.clear();
    counts_ = {};
}

void QuestionRound::Add(std::int64_t accountId, std::uint64_t connectionId, Clock::time_point sentAt)
{
    choices_[accountId] = Choice{connectionId, sentAt};
}

Choice* QuestionRound::Find(std::int64_t accountId)
{
    const auto it = choices_.find(accountId);
    return it == choices_.end() ? nullptr : &it->second;
}

void QuestionRound::Choose(Choice& choice, int answer, double seconds, int points)
{
    if (choice.answer != 0)
        --counts_[choice.answer];
    ++counts_[answer];
    choice.answer = answer;
    choice.seconds = seconds;
    choice.points = points;
}

}  // namespace server
