#include "server/Server.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "platform/Cp1252.h"

namespace server {
namespace {

const std::string& Text(const wire::Message& message, std::size_t index)
{
    return std::get<std::string>(message.fields[index]);
}

std::string Encode(wire::Message message) { return wire::Encode(wire::Direction::ServerToClient, message); }

std::string SecondsText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
}

unsigned HashThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace

Server::Server(asio::io_context& loop, const ServeSettings& settings, Store& store, EventLog& log)
    : loop_(loop),
      settings_(settings),
      store_(store),
      log_(log),
      work_(loop, HashThreads(), settings.db),
      hall_(store),
      game_(loop, settings.timing, store, work_, hall_, log),
      desk_(
          store, work_, log, [this](std::uint64_t id) { return Find(id); },
          [this](Session& session, const std::string& how) { Admit(session, how); }),
      acceptor_(loop),
      sweepTimer_(loop),
      acceptRetry_(loop),
      signals_(loop, SIGINT, SIGTERM)
{
}

void Server::Start()
{
    Listen();
    signals_.async_wait([this](const asio::error_code& ec, int signal) {
        if (ec)
            return;
        log_.Write(std::string("stopping on ") + (signal == SIGINT ? "SIGINT" : "SIGTERM"));
        Stop();
    });
    Accept();
    Sweep();
}

void Server::Listen()
{
    using asio::ip::tcp;
    const auto open = [this](const tcp::endpoint& endpoint, bool dualStack) {
        acceptor_.open(endpoint.protocol());
        acceptor_.set_option(tcp::acceptor::reuse_address(true));
        if (dualStack)
            acceptor_.set_option(asio::ip::v6_only(false));
        acceptor_.bind(endpoint);
        acceptor_.listen(asio::socket_base::max_listen_connections);
    };
    if (!settings_.address.empty()) {
        open(tcp::endpoint(asio::ip::make_address(settings_.address), settings_.port), false);
    } else {
        try {
            open(tcp::endpoint(tcp::v6(), settings_.port), true);
        } catch (const std::system_error&) {
            // No IPv6 on this host: every IPv4 address will do.
            asio::error_code ignored;
            acceptor_.close(ignored);
            open(tcp::endpoint(tcp::v4(), settings_.port), false);
        }
    }
    acceptor_.non_blocking(true);
    const auto local = acceptor_.local_endpoint();
    log_.Write("listening on " + (settings_.address.empty() ? std::string("every address") : local.address().to_string()) +
               ", port " + std::to_string(local.port()) + ", store " + settings_.db);
}

void Server::Stop()
{
    if (stopping_)
        return;
    stopping_ = true;
    asio::error_code ignored;
    acceptor_.close(ignored);
    signals_.cancel(ignored);
    sweepTimer_.cancel();
    acceptRetry_.cancel();
    game_.Stop();
    for (auto& [id, session] : sessions_)
        session->connection->Close("the server is stopping");
    work_.Stop();  // every queued write is committed before this returns
    log_.Write("stopped, " + std::to_string(sessions_.size()) + " connections closed");
    loop_.stop();
}

void Server::Accept()
{
    acceptor_.async_accept([this](const asio::error_code& ec, asio::ip::tcp::socket socket) {
        if (stopping_ || ec == asio::error::operation_aborted)
            return;
        if (ec) {
            // Out of descriptors, most likely: wait a moment instead of spinning.
            log_.Write("error: accepting a connection: " + ec.message());
            acceptRetry_.expires_after(std::chrono::milliseconds(100));
            acceptRetry_.async_wait([this](const asio::error_code& waited) {
                if (!waited && !stopping_)
                    Accept();
            });
            return;
        }
        if (sessions_.size() >= settings_.maxConnections) {
            log_.Write("error: refused a connection, " + std::to_string(sessions_.size()) + " are open already");
        } else {
            const std::uint64_t id = nextConnectionId_++;
            auto session = std::make_unique<Session>();
            session->connection = std::make_shared<Connection>(std::move(socket), id, *this, ConnectionLimits{});
            // Before its login a client can only log in, and a login is short.
            session->connection->SetMaxStringLength(kMaxStringBeforeLogin);
            session->connectedAt = std::chrono::steady_clock::now();
            const auto connection = session->connection;
            sessions_.emplace(id, std::move(session));
            connection->Start();
        }
        Accept();
    });
}

void Server::Sweep()
{
    const auto limit = std::chrono::duration<double>(settings_.incompleteSeconds);
    const auto now = std::chrono::steady_clock::now();
    for (auto& [id, session] : sessions_) {
        Connection& connection = *session->connection;
        if (!connection.IsOpen())
            continue;
        if (session->state == SessionState::AwaitingLogin && now - session->connectedAt > limit)
            connection.Close("no login within " + SecondsText(settings_.incompleteSeconds));
        else if (const auto since = connection.IncompleteSince(); since && now - *since > limit)
            connection.Close("a message stayed incomplete for over " + SecondsText(settings_.incompleteSeconds));
    }
    const double interval = std::clamp(settings_.incompleteSeconds / 4, 0.05, 1.0);
    sweepTimer_.expires_after(std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(interval)));
    sweepTimer_.async_wait([this](const asio::error_code& ec) {
        if (!ec && !stopping_)
            Sweep();
    });
}

Session* Server::Find(std::uint64_t connectionId)
{
    const auto it = sessions_.find(connectionId);
    return it == sessions_.end() || !it->second->connection->IsOpen() ? nullptr : it->second.get();
}

std::string Server::Who(const Session& session) const
{
    const std::string& name = session.name.empty() ? session.loginName : session.name;
    if (name.empty())
        return session.connection->Peer();
    return EventLog::Quoted(name) + " from " + session.connection->Peer();
}

void Server::OnMessage(Connection& connection, wire::Message& message)
{
    Session* session = Find(connection.Id());
    if (!session)
        return;
    try {
        Dispatch(*session, message);
    } catch (const std::exception& error) {
        log_.Write("error: " + message.word + " from " + Who(*session) + ": " + error.what());
        connection.Close("server error");
    }
}

void Server::OnClosed(std::uint64_t connectionId, const std::string& reason)
{
    const auto it = sessions_.find(connectionId);
    if (it == sessions_.end())
        return;
    Session& session = *it->second;
    if (!stopping_)
        log_.Write("disconnect " + Who(session) + ": " + reason);
    lobby_.Leave(session);
    game_.Leave(session);
    sessions_.erase(it);
}

void Server::Dispatch(Session& session, const wire::Message& message)
{
    const std::string& word = message.word;
    switch (session.state) {
    case SessionState::AwaitingLogin:
        if (word == "LOGIN")
            desk_.OnLogin(session, message);
        if (session.state != SessionState::AwaitingLogin)
            session.connection->SetMaxStringLength(ConnectionLimits{}.maxStringLength);
        return;  // nothing else is served before a login
    case SessionState::AwaitingRegistration:
        if (word == "NEWPLAYER")
            desk_.OnNewPlayer(session, message);
        return;
    case SessionState::Playing:
        break;
    default:
        return;
    }
    if (word == "SCORE")
        game_.OnScore(session, message);
    else if (word == "PEEK")
        game_.OnPeek(session);
    else if (word == "TOPTEN")
        game_.SendTopTen(session);
    else if (word == "HALL")
        session.connection->Send(hall_.Message());
    else if (word == "MESSAGE")
        SendPlayerList(session);
    else if (word == "SENDMESS")
        OnSendMessage(session, message);
    else if (word == "SENDPROFILE")
        OnSendProfile(session, message);
    else if (word == "NEWQUESTION")
        OnNewQuestion(session, message);
}

void Server::Admit(Session& session, const std::string& how)
{
    session.state = SessionState::Playing;
    Session* previous = lobby_.Enter(session);
    if (previous) {
        previous->state = SessionState::Replaced;
        game_.Leave(*previous);
        previous->connection->Close("replaced by a new login of the same player");
    }
    game_.Join(session);
    log_.Write(how + (previous ? "; the earlier connection of this player was closed" : ""));
    session.connection->ResumeInput();
}

void Server::SendPlayerList(Session& session)
{
    wire::Message list{"PLAYMESS", {}};
    for (std::string& name : lobby_.OthersThan(session))
        list.fields.emplace_back(std::move(name));
    list.fields.emplace_back(std::string(wire::kListEnd));
    session.connection->Send(Encode(std::move(list)));
}

void Server::OnSendMessage(Session& session, const wire::Message& message)
{
    const std::string& recipientName = Text(message, 0);
    const std::string text = Text(message, 1).substr(0, kMaxMessageText);
    const auto tell = [&](const std::string& note) { session.connection->Send(Encode({"RECMESS", {note}})); };
    if (!session.messages.TryTake()) {
        tell("Not sent to " + recipientName + ": too many messages at once, please wait a moment.");
        return;
    }
    Session* recipient = lobby_.Find(recipientName);
    if (!recipient) {
        tell(recipientName + " is not connected, so the message was not delivered.");
        return;
    }
    recipient->connection->Send(Encode({"RECMESS", {session.name + ": " + text}}));
}

void Server::OnSendProfile(Session& session, const wire::Message& message)
{
    const Profile profile = store_.LoadProfile(cp1252::ToUtf8(Text(message, 0))).value_or(Profile{});
    const auto wireText = [](const std::string& utf8) { return cp1252::FromUtf8(utf8); };
    session.connection->Send(Encode({"RECPROFILE",
                                     {wireText(profile.country), wireText(profile.cityState), wireText(profile.email),
                                      wireText(profile.team), wireText(profile.info), wireText(profile.sex), profile.age,
                                      profile.averageScore, profile.gamesPlayed}}));
}

void Server::OnNewQuestion(Session& session, const wire::Message& message)
{
    const std::string who = Who(session);
    Submission submission{session.accountId, {}, {}, std::get<std::int32_t>(message.fields[6])};
    std::string problem;
    if (Text(message, 0).empty() || Text(message, 0).size() > kMaxSubmittedQuestion)
        problem = "the question is empty or longer than " + std::to_string(kMaxSubmittedQuestion) + " characters";
    submission.question = cp1252::ToUtf8(Text(message, 0));
    for (std::size_t i = 0; i < 5; ++i) {
        if (Text(message, i + 1).size() > kMaxSubmittedAnswer)
            problem = "an answer is longer than " + std::to_string(kMaxSubmittedAnswer) + " characters";
        submission.answers[i] = cp1252::ToUtf8(Text(message, i + 1));
    }
    if (problem.empty() && store_.CountPendingBy(session.accountId) >= kMaxPendingPerPlayer)
        problem = "the player has " + std::to_string(kMaxPendingPerPlayer) + " questions waiting for review already";
    if (!problem.empty()) {
        log_.Write("question from " + who + " not stored: " + problem);
        return;
    }
    work_.Write([submission](Store& store) { return store.SubmitQuestion(submission); },
                [this, who](Outcome<std::int64_t> stored) {
                    if (stored.value)
                        log_.Write("question #" + std::to_string(*stored.value) + " from " + who + " waits for review");
                    else
                        log_.Write("error: storing a question from " + who + ": " + stored.error);
                });
}

}  // namespace server
