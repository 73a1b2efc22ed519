// Logins and registrations. A known name is checked against its Argon2id hash off the event
// loop; an unknown one is asked to register ("GETPLAYER"), and the "NEWPLAYER" that follows
// creates the account once its hash is made and its row committed.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "net/MessageCatalogue.h"
#include "server/BackgroundWork.h"
#include "server/EventLog.h"
#include "server/Session.h"
#include "server/Store.h"

namespace server {

class AccountDesk {
public:
    static constexpr std::string_view kClientVersion = "1.0.0.4";
    static constexpr std::size_t kMaxNameLength = 32;
    static constexpr std::size_t kMaxPasswordLength = 1024;
    static constexpr std::size_t kMaxProfileField = 100;
    static constexpr std::size_t kMaxProfileInfo = 1000;

    using FindSession = std::function<Session*(std::uint64_t connectionId)>;
    // Lets a session in under its account; the text says how it got in, for the log.
    using Admit = std::function<void(Session&, const std::string& how)>;

    AccountDesk(Store& store, BackgroundWork& work, EventLog& log, FindSession find, Admit admit);

    void OnLogin(Session& session, const wire::Message& login);
    void OnNewPlayer(Session& session, const wire::Message& newPlayer);

    // Why a name cannot belong to an account, or empty when it can.
    static std::string NameProblem(std::string_view name);

private:
    void AskToRegister(Session& session, const std::string& logLine);
    // Hashes off the event loop while the session's input waits in state `waiting`; done
    // runs only if the session is still there and still waiting.
    template <class Work, class Done>
    void HashWhileWaiting(Session& session, SessionState waiting, Work work, Done done);
    void CreateAccount(std::uint64_t connectionId, NewAccount account, const std::string& name);
    std::string Who(const Session& session, std::string_view name) const;

    Store& store_;
    BackgroundWork& work_;
    EventLog& log_;
    FindSession find_;
    Admit admit_;
    const std::string getPlayer_;
    const std::string badVersion_;
};

}  // namespace server
