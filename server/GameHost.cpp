#include "server/GameHost.h"

#include <algorithm>
#include <numeric>

#include "platform/Cp1252.h"
#include "server/LocalDate.h"

namespace server {
namespace {

std::chrono::steady_clock::duration Seconds(double seconds)
{
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
}

std::string Encode(wire::Message message) { return wire::Encode(wire::Direction::ServerToClient, message); }

}  // namespace

GameHost::GameHost(asio::io_context& loop, const GameTiming& timing, Store& store, BackgroundWork& work,
                   HallOfFame& hall, EventLog& log)
    : timer_(loop),
      timing_(timing),
      // Client times are in countdown seconds; an accelerated game runs the same 30 of them faster.
      rules_(ScoreRules::kCountdownSeconds / timing.questionSeconds, timing.latencyAllowance),
      store_(store),
      work_(work),
      hall_(hall),
      log_(log),
      random_(std::random_device{}())
{
    RankTopTen();
}

void GameHost::Join(Session& session)
{
    session.rosterIndex = roster_.size();
    roster_.push_back(&session);
    // The first game waits a game pause too, so that friends who log in together all start at question 1.
    if (phase_ == Phase::Idle && !stopped_)
        StartGameIn(timing_.gamePauseSeconds);
}

void GameHost::Leave(Session& session)
{
    if (session.rosterIndex == Session::kNotListed)
        return;
    Session* last = roster_.back();
    roster_[session.rosterIndex] = last;
    last->rosterIndex = session.rosterIndex;
    roster_.pop_back();
    session.rosterIndex = Session::kNotListed;
}

void GameHost::Stop()
{
    stopped_ = true;
    timer_.cancel();
}

void GameHost::StartGameIn(double seconds)
{
    phase_ = Phase::Waiting;
    timer_.expires_after(Seconds(seconds));
    timer_.async_wait([this](const asio::error_code& ec) {
        if (!ec && !stopped_)
            StartGame();
    });
}

void GameHost::StartGame()
{
    if (roster_.empty()) {
        phase_ = Phase::Idle;
        return;
    }
    try {
        questions_ = store_.DrawApprovedQuestions(timing_.questionsPerGame);
    } catch (const StoreError& error) {
        log_.Write(std::string("error: drawing questions: ") + error.what());
        questions_.clear();
    }
    if (questions_.empty()) {
        log_.Write("error: no approved questions to play; trying again in " + std::to_string(timing_.gamePauseSeconds) + " s");
        StartGameIn(std::max(timing_.gamePauseSeconds, 1.0));
        return;
    }
    ++gameNumber_;
    phase_ = Phase::Playing;
    nextQuestion_ = 0;
    table_.Clear();
    RankTopTen();
    questionSentAt_ = Clock::now();
    log_.Write("game " + std::to_string(gameNumber_) + " started with " + std::to_string(roster_.size()) + " players, " +
               std::to_string(questions_.size()) + " questions");
    SendQuestion();
}

PlayedQuestion GameHost::Prepare(const StoredQuestion& stored)
{
    std::array<std::size_t, 5> order;
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random_);
    PlayedQuestion question{stored.category, cp1252::FromUtf8(stored.question), {}, 1};
    for (std::size_t position = 0; position < 5; ++position) {
        question.answers[position] = cp1252::FromUtf8(stored.answers[order[position]]);
        if (static_cast<int>(order[position]) + 1 == stored.correct)
            question.correct = static_cast<int>(position) + 1;
    }
    return question;
}

void GameHost::SendQuestion()
{
    const int number = static_cast<int>(++nextQuestion_);
    round_.Start(Prepare(questions_[nextQuestion_ - 1]));
    const PlayedQuestion& question = round_.Question();
    const std::string bytes = Encode({"QUESTION",
                                      {question.text, question.answers[0], question.answers[1], question.answers[2],
                                       question.answers[3], question.answers[4], question.correct, number,
                                       question.category}});
    // Each question is timed from the previous one, so that the schedule does not drift.
    if (number > 1)
        questionSentAt_ += Seconds(timing_.questionSeconds + timing_.settleSeconds);
    for (Session* session : roster_) {
        session->connection->Send(bytes);
        round_.Add(session->accountId, session->connection->Id(), Clock::now());
        table_.Row(session->accountId, session->name);
        if (number == 1)  // the client starts its game score afresh
            session->client.score = session->client.peekCost = 0;
    }
    timer_.expires_at(questionSentAt_ + Seconds(timing_.questionSeconds + timing_.settleSeconds));
    timer_.async_wait([this](const asio::error_code& ec) {
        if (!ec && !stopped_)
            Settle();
    });
}

void GameHost::OnScore(Session& session, const wire::Message& score)
{
    const auto reportedScore = std::get<std::int32_t>(score.fields[0]);
    const auto answer = std::get<std::int32_t>(score.fields[1]);
    const auto previous = std::get<std::int32_t>(score.fields[2]);
    const auto reportedSeconds = std::get<double>(score.fields[4]);
    // An unchanged answer is the report that precedes a peek, not a choice.
    if (!round_.Open() || answer < 1 || answer > 5 || answer == previous)
        return;
    Choice* choice = round_.Find(session.accountId);
    if (!choice || choice->connectionId != session.connection->Id())
        return;  // joined after the question went out

    const double sinceSent = std::chrono::duration<double>(Clock::now() - choice->sentAt).count();
    const double seconds = rules_.EffectiveSeconds(reportedSeconds, sinceSent);
    const std::int64_t reportedPoints = reportedScore - (session.client.score - session.client.peekCost);
    const bool correct = answer == round_.Question().correct;
    round_.Choose(*choice, answer, seconds, ScoreRules::Award(correct, reportedPoints, seconds));
    session.client.answer = answer;
    session.client.answerPoints = reportedPoints;
}

void GameHost::OnPeek(Session& session)
{
    session.client.peekCost += ScoreRules::kPeekCost;
    if (phase_ == Phase::Playing)
        table_.Row(session.accountId, session.name).score -= ScoreRules::kPeekCost;
    const Choice* choice = round_.Find(session.accountId);
    const int same = choice ? round_.ChoseAnswer(choice->answer) : 0;
    session.connection->Send(Encode({"RECPEEK", {same, static_cast<std::int32_t>(round_.Players())}}));
}

void GameHost::SendTopTen(Session& session) { session.connection->Send(topTen_); }

void GameHost::RankTopTen()
{
    wire::Message message{"TOPTEN", {}};
    for (const Standing* row : table_.Ranked(10))
        message.fields.insert(message.fields.end(), {row->name, GameTable::WireScore(row->score), row->lastAnswer,
                                                     row->totalTime, row->lastAnswerTime});
    message.fields.emplace_back(std::string(wire::kListEnd));
    topTen_ = Encode(std::move(message));
}

void GameHost::Settle()
{
    round_.Close();
    const int correct = round_.Question().correct;
    for (Session* session : roster_) {
        const Choice* choice = round_.Find(session->accountId);
        if (choice && choice->connectionId == session->connection->Id() && session->client.answer == correct)
            session->client.score += session->client.answerPoints;
        session->client.answer = 0;
        session->client.answerPoints = 0;
    }
    for (const auto& [accountId, choice] : round_.Choices()) {
        Standing* row = table_.Find(accountId);
        row->score += choice.points;
        row->lastAnswer = choice.answer;
        row->lastAnswerTime = choice.answer ? choice.seconds : 0.0;
        if (choice.answer)
            row->totalTime += choice.seconds;
    }
    RankTopTen();
    if (nextQuestion_ < questions_.size())
        SendQuestion();
    else
        FinishGame();
}

void GameHost::FinishGame()
{
    const auto ranked = table_.All();
    if (ranked.empty()) {
        NextGame();
        return;
    }
    phase_ = Phase::Recording;
    GameRecord record{LocalDate::Today(), LocalDate::Timestamp(), static_cast<int>(questions_.size()), {}};
    for (const Standing* row : ranked)
        record.results.push_back({row->accountId, row->score, row->totalTime});
    const std::string winner = ranked.front()->name;
    const std::int32_t winnerScore = GameTable::WireScore(ranked.front()->score);
    const std::string game = "game " + std::to_string(gameNumber_);

    work_.Write([record = std::move(record)](Store& store) { return store.RecordGame(record); },
                [this, game, winner, winnerScore, players = ranked.size()](Outcome<std::int64_t> stored) {
                    if (stopped_)
                        return;
                    if (stored.value) {
                        hall_.Invalidate();
                        // Only a committed game is announced.
                        Broadcast(Encode({"ENDGAME", {winner, winnerScore}}));
                        log_.Write(game + " finished with " + std::to_string(players) + " players, stored as #" +
                                   std::to_string(*stored.value) + "; winner " + EventLog::Quoted(winner) + " with " +
                                   std::to_string(winnerScore));
                    } else {
                        log_.Write("error: " + game + " could not be stored, so no winner is announced: " + stored.error);
                    }
                    NextGame();
                });
}

void GameHost::NextGame()
{
    if (roster_.empty())
        phase_ = Phase::Idle;
    else
        StartGameIn(timing_.gamePauseSeconds);
}

void GameHost::Broadcast(const std::string& bytes)
{
    for (Session* session : roster_)
        session->connection->Send(bytes);
}

}  // namespace server
