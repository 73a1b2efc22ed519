// The players who are logged in, by name. Names are unique without regard to ASCII
// letter case, as accounts are.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "server/Session.h"

namespace server {

class Lobby {
public:
    static constexpr std::size_t kMaxListed = 1000;

    // Adds a player who has just logged in; returns the session that was playing under the
    // same name until now, if any.
    Session* Enter(Session& session);
    // Removes the player unless another session has taken its place.
    void Leave(const Session& session);
    Session* Find(std::string_view name) const;

    // Everybody else's name, alphabetical, at most kMaxListed of them.
    std::vector<std::string> OthersThan(const Session& asker) const;

private:
    static std::string Fold(std::string_view name);

    std::map<std::string, Session*> players_;
};

}  // namespace server
