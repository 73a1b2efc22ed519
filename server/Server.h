// The game server: accepts connections, follows each client from its login on, and hands
// each message to the part of the server that answers it.
#pragma once

#include <asio.hpp>

#include <memory>
#include <unordered_map>

#include "server/AccountDesk.h"
#include "server/BackgroundWork.h"
#include "server/Connection.h"
#include "server/EventLog.h"
#include "server/GameHost.h"
#include "server/HallOfFame.h"
#include "server/Lobby.h"
#include "server/ServeSettings.h"
#include "server/Session.h"
#include "server/Store.h"

namespace server {

class Server : public ConnectionHandler {
public:
    static constexpr std::uint32_t kMaxStringBeforeLogin = 4096;
    static constexpr std::size_t kMaxMessageText = 1000;
    static constexpr std::size_t kMaxSubmittedQuestion = 1000;
    static constexpr std::size_t kMaxSubmittedAnswer = 200;
    static constexpr int kMaxPendingPerPlayer = 100;

    Server(asio::io_context& loop, const ServeSettings& settings, Store& store, EventLog& log);

    // Listens, and stops cleanly on SIGINT or SIGTERM. Throws when the address cannot be used.
    void Start();
    void Stop();

    void OnMessage(Connection& connection, wire::Message& message) override;
    void OnClosed(std::uint64_t connectionId, const std::string& reason) override;

private:
    void Listen();
    void Accept();
    void Sweep();
    void Dispatch(Session& session, const wire::Message& message);
    void Admit(Session& session, const std::string& how);
    Session* Find(std::uint64_t connectionId);
    std::string Who(const Session& session) const;

    void SendPlayerList(Session& session);
    void OnSendMessage(Session& session, const wire::Message& message);
    void OnSendProfile(Session& session, const wire::Message& message);
    void OnNewQuestion(Session& session, const wire::Message& message);

    asio::io_context& loop_;
    ServeSettings settings_;
    Store& store_;
    EventLog& log_;
    BackgroundWork work_;
    HallOfFame hall_;
    GameHost game_;
    Lobby lobby_;
    AccountDesk desk_;
    asio::ip::tcp::acceptor acceptor_;
    asio::steady_timer sweepTimer_;
    asio::steady_timer acceptRetry_;
    asio::signal_set signals_;
    std::unordered_map<std::uint64_t, std::unique_ptr<Session>> sessions_;
    std::uint64_t nextConnectionId_ = 1;
    bool stopping_ = false;
};

}  // namespace server
