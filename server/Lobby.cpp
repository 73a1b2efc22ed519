#include "server/Lobby.h"

namespace server {

std::string Lobby::Fold(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

Session* Lobby::Enter(Session& session)
{
    Session*& slot = players_[Fold(session.name)];
    Session* previous = slot;
    slot = &session;
    return previous;
}

void Lobby::Leave(const Session& session)
{
    const auto it = players_.find(Fold(session.name));
    if (it != players_.end() && it->second == &session)
        players_.erase(it);
}

Session* Lobby::Find(std::string_view name) const
{
    const auto it = players_.find(Fold(name));
    return it == players_.end() ? nullptr : it->second;
}

std::vector<std::string> Lobby::OthersThan(const Session& asker) const
{
    std::vector<std::string> names;
    for (const auto& [folded, session] : players_) {
        if (names.size() == kMaxListed)
            break;
        if (session != &asker)
            names.push_back(session->name);
    }
    return names;
}

}  // namespace server
