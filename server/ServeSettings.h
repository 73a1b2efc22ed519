// Everything "serve" can be told on its command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "server/GameHost.h"

namespace server {

struct ServeSettings {
    std::string address;  // empty: every address
    std::uint16_t port = 2;
    std::string db = "vantix.db";
    GameTiming timing;
    double incompleteSeconds = 30;
    std::size_t maxConnections = 50000;
};

}  // namespace server
