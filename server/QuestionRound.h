// One question as the server plays it: who was sent it and when, and each account's latest
// choice with the time and points the server accepted for it.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace server {

using Clock = std::chrono::steady_clock;

// A question ready to send: texts as they travel, answers in the order sent.
struct PlayedQuestion {
    std::string category;
    std::string text;
    std::array<std::string, 5> answers;
    int correct = 1;  // 1..5
};

struct Choice {
    std::uint64_t connectionId = 0;  // the connection the question went to
    Clock::time_point sentAt;
    int answer = 0;                  // 0 until the first choice
    double seconds = 0.0;            // accepted answer time, client seconds
    int points = 0;                  // what the choice wins if it stays the latest
};

class QuestionRound {
public:
    void Start(PlayedQuestion question);
    void Add(std::int64_t accountId, std::uint64_t connectionId, Clock::time_point sentAt);
    Choice* Find(std::int64_t accountId);
    void Choose(Choice& choice, int answer, double seconds, int points);
    void Close() { open_ = false; }

    bool Open() const { return open_; }
    const PlayedQuestion& Question() const { return question_; }
    std::size_t Players() const { return choices_.size(); }
    int ChoseAnswer(int answer) const { return answer >= 1 && answer <= 5 ? counts_[answer] : 0; }
    const std::unordered_map<std::int64_t, Choice>& Choices() const { return choices_; }

private:
    PlayedQuestion question_;
    bool open_ = false;
    std::unordered_map<std::int64_t, Choice> choices_;
    std::array<int, 6> counts_{};  // players per latest answer, index 1..5
};

}  // namespace server
