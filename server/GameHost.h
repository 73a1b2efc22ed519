// Runs games one after another while anybody is logged in: sends each question, takes the
// players' choices, settles the question after its time and the pause, and after the last
// question commits the game's results and then names the winner.
#pragma once

#include <asio.hpp>

#include <random>
#include <string>
#include <vector>

#include "net/MessageCatalogue.h"
#include "server/BackgroundWork.h"
#include "server/EventLog.h"
#include "server/GameTable.h"
#include "server/HallOfFame.h"
#include "server/QuestionRound.h"
#include "server/ScoreRules.h"
#include "server/Session.h"
#include "server/Store.h"

namespace server {

struct GameTiming {
    double questionSeconds = 30;
    double settleSeconds = 5;
    double gamePauseSeconds = 20;
    int questionsPerGame = 15;
    double latencyAllowance = 1.0;
};

class GameHost {
public:
    GameHost(asio::io_context& loop, const GameTiming& timing, Store& store, BackgroundWork& work, HallOfFame& hall,
             EventLog& log);

    // A player who has logged in; it is sent the next question that goes out.
    void Join(Session& session);
    void Leave(Session& session);

    void OnScore(Session& session, const wire::Message& score);
    void OnPeek(Session& session);
    void SendTopTen(Session& session);

    void Stop();

private:
    enum class Phase { Idle, Waiting, Playing, Recording };

    void StartGameIn(double seconds);
    void StartGame();
    void SendQuestion();
    void Settle();
    void FinishGame();
    void NextGame();
    void RankTopTen();
    void Broadcast(const std::string& bytes);
    PlayedQuestion Prepare(const StoredQuestion& stored);

    asio::steady_timer timer_;
    GameTiming timing_;
    ScoreRules rules_;
    Store& store_;
    BackgroundWork& work_;
    HallOfFame& hall_;
    EventLog& log_;
    std::mt19937_64 random_;

    Phase phase_ = Phase::Idle;
    bool stopped_ = false;
    std::vector<Session*> roster_;
    std::int64_t gameNumber_ = 0;
    std::vector<StoredQuestion> questions_;
    std::size_t nextQuestion_ = 0;
    Clock::time_point questionSentAt_;
    QuestionRound round_;
    GameTable table_;
    // Encoded when a question is settled; like the client's own score line, it shows peeks
    // bought since then only at the next settlement.
    std::string topTen_;
};

}  // namespace server
