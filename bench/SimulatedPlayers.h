// Many players in one process, each with a connection of its own, driven by one epoll loop:
// they log in, answer each question at a random moment (some change their mind), peek,
// look at the tables and message each other, and keep their scores as the real client does.
#pragma once

#include <chrono>
#include <cstdint>
#include <queue>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct CrowdSettings {
    int players = 1000;
    double questionSeconds = 5;
    std::uint64_t seed = 1;
};

// One question as the crowd received it: each player's delay after the first to get it.
struct Delivery {
    int number = 0;
    std::vector<double> delaysMs;
};

class SimulatedPlayers {
public:
    explicit SimulatedPlayers(const CrowdSettings& settings);
    ~SimulatedPlayers();

    // Connects and logs in everybody; returns the seconds it took, or throws on a failure.
    double LogIn();
    // Plays on until `count` questions that went out after the logins have reached everybody.
    std::vector<Delivery> Play(int count);

    std::int64_t Sent() const { return sent_; }

private:
    enum class Action { Answer, Peek, TopTen, Hall, Message };
    struct Player;
    struct Event {
        Clock::time_point at;
        int player;
        Action action;
        int question;  // the player's question count when it was planned
        bool operator>(const Event& other) const { return at > other.at; }
    };

    void Connect(int index);
    void Turn(Clock::time_point until);
    void OnReadable(Player& player);
    void OnWritable(Player& player);
    void Settle(Player& player);
    void OnQuestion(Player& player, int correct, int number, const std::string& text, Clock::time_point arrived);
    void Perform(const Event& event);
    void Send(Player& player, const std::string& bytes);
    double Uniform(double low, double high);

    CrowdSettings settings_;
    int epoll_ = -1;
    std::vector<Player*> players_;
    std::priority_queue<Event, std::vector<Event>, std::greater<>> events_;
    std::mt19937_64 random_;
    int connecting_ = 0;
    int nextToConnect_ = 0;
    int loggedIn_ = 0;
    bool measuring_ = false;
    Clock::time_point measureFrom_;
    std::unordered_map<std::uint64_t, Delivery> deliveries_;  // by question text and number
    std::unordered_map<std::uint64_t, Clock::time_point> firstArrival_;
    std::int64_t sent_ = 0;
};

}  // namespace bench
