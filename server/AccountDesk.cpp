#include "server/AccountDesk.h"

#include <utility>

#include "platform/Cp1252.h"
#include "server/PasswordHasher.h"

namespace server {
namespace {

const std::string& Text(const wire::Message& message, std::size_t index)
{
    return std::get<std::string>(message.fields[index]);
}

// Profile text as stored: cut to its limit, UTF-8.
std::string ProfileText(const std::string& wireText, std::size_t limit)
{
    return cp1252::ToUtf8(std::string_view(wireText).substr(0, limit));
}

}  // namespace

AccountDesk::AccountDesk(Store& store, BackgroundWork& work, EventLog& log, FindSession find, Admit admit)
    : store_(store),
      work_(work),
      log_(log),
      find_(std::move(find)),
      admit_(std::move(admit)),
      getPlayer_(wire::Encode(wire::Direction::ServerToClient, {"GETPLAYER", {}})),
      badVersion_(wire::Encode(wire::Direction::ServerToClient, {"BADVERSION", {}}))
{
}

std::string AccountDesk::NameProblem(std::string_view name)
{
    if (name.empty())
        return "the name is empty";
    if (name.size() > kMaxNameLength)
        return "the name is longer than " + std::to_string(kMaxNameLength) + " characters";
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "the name holds a control character";
    if (name.front() == ' ' || name.back() == ' ')
        return "the name begins or ends with a blank";
    std::string folded(name);
    for (char& c : folded)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (folded == "nomore")  // it would end every list the name appears in
        return "the name is reserved";
    return {};
}

std::string AccountDesk::Who(const Session& session, std::string_view name) const
{
    return EventLog::Quoted(name) + " from " + session.connection->Peer();
}

void AccountDesk::AskToRegister(Session& session, const std::string& logLine)
{
    session.state = SessionState::AwaitingRegistration;
    session.connection->Send(getPlayer_);
    log_.Write(logLine + ", answered GETPLAYER");
}

template <class Work, class Done>
void AccountDesk::HashWhileWaiting(Session& session, SessionState waiting, Work work, Done done)
{
    session.state = waiting;
    session.connection->PauseInput();
    work_.Hash(std::move(work),
               [this, connectionId = session.connection->Id(), waiting, done = std::move(done)](auto outcome) mutable {
                   Session* current = find_(connectionId);
                   if (current && current->state == waiting)
                       done(current, std::move(outcome));
               });
}

void AccountDesk::OnLogin(Session& session, const wire::Message& login)
{
    const std::string& name = Text(login, 0);
    const std::string& password = Text(login, 1);
    const std::string& version = Text(login, 2);
    session.loginName = name;
    const std::string who = "login " + Who(session, name);

    if (version != kClientVersion) {
        log_.Write(who + ": client version " + EventLog::Quoted(version) + " refused, answered BADVERSION");
        session.connection->Send(badVersion_);
        session.connection->Finish("client version refused");
        return;
    }
    const std::optional<Account> account = store_.FindAccount(cp1252::ToUtf8(name));
    if (!account) {
        AskToRegister(session, who + ": unknown name");
        return;
    }
    if (password.size() > kMaxPasswordLength) {
        log_.Write(who + ": wrong password, connection closed");
        session.connection->Close("wrong password");
        return;
    }

    HashWhileWaiting(
        session, SessionState::CheckingPassword,
        [hash = account->passwordHash, password] { return PasswordHasher::Verify(hash, password); },
        [this, account = *account, who](Session* session, Outcome<bool> verified) {
            if (!verified.value) {
                log_.Write(who + ": error while checking the password: " + verified.error);
                session->connection->Close("password check failed");
            } else if (!*verified.value) {
                log_.Write(who + ": wrong password, connection closed");
                session->connection->Close("wrong password");
            } else {
                session->accountId = account.id;
                session->name = cp1252::FromUtf8(account.name);
                admit_(*session, who + ": accepted");
            }
        });
}

void AccountDesk::OnNewPlayer(Session& session, const wire::Message& newPlayer)
{
    const std::string& name = Text(newPlayer, 0);
    const std::string& password = Text(newPlayer, 1);
    const std::string who = "registration " + Who(session, name);

    std::string problem = NameProblem(name);
    if (problem.empty() && (password.empty() || password.size() > kMaxPasswordLength))
        problem = "the password is empty or longer than " + std::to_string(kMaxPasswordLength) + " characters";
    if (!problem.empty()) {
        AskToRegister(session, who + ": refused, " + problem);
        return;
    }
    NewAccount account;
    account.name = cp1252::ToUtf8(name);
    if (store_.FindAccount(account.name)) {
        AskToRegister(session, who + ": the name is taken");
        return;
    }
    account.cleanName = ProfileText(Text(newPlayer, 2), kMaxProfileField);
    account.cityState = ProfileText(Text(newPlayer, 3), kMaxProfileField);
    account.country = ProfileText(Text(newPlayer, 4), kMaxProfileField);
    account.email = ProfileText(Text(newPlayer, 5), kMaxProfileField);
    account.team = ProfileText(Text(newPlayer, 6), kMaxProfileField);
    account.info = ProfileText(Text(newPlayer, 7), kMaxProfileInfo);
    const std::string& sex = Text(newPlayer, 8);
    account.sex = sex == "M" || sex == "F" ? sex : "?";
    account.age = std::get<std::int32_t>(newPlayer.fields[9]);

    HashWhileWaiting(
        session, SessionState::Registering, [password] { return PasswordHasher::Hash(password); },
        [this, account = std::move(account), who](Session* session, Outcome<std::string> hash) mutable {
            if (!hash.value) {
                log_.Write(who + ": error while hashing the password: " + hash.error);
                session->connection->Close("registration failed");
                return;
            }
            account.passwordHash = std::move(*hash.value);
            CreateAccount(session->connection->Id(), std::move(account), who);
        });
}

void AccountDesk::CreateAccount(std::uint64_t connectionId, NewAccount account, const std::string& who)
{
    work_.Write(
        [account](Store& store) {
            std::int64_t id = 0;
            const CreateOutcome outcome = store.CreateAccount(account, id);
            return std::make_pair(outcome, id);
        },
        [this, connectionId, name = account.name, who](Outcome<std::pair<CreateOutcome, std::int64_t>> created) {
            Session* session = find_(connectionId);
            if (!created.value) {
                log_.Write(who + ": error while storing the account: " + created.error);
                if (session)
                    session->connection->Close("registration failed");
                return;
            }
            const bool made = created.value->first == CreateOutcome::Created;
            if (!session || session->state != SessionState::Registering) {
                if (made)
                    log_.Write(who + ": account created, but the client has gone");
                return;
            }
            if (!made) {
                AskToRegister(*session, who + ": the name is taken");
                session->connection->ResumeInput();
                return;
            }
            session->accountId = created.value->second;
            session->name = cp1252::FromUtf8(name);
            admit_(*session, who + ": account created and logged in");
        });
}

}  // namespace server
