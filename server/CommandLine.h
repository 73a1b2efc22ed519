// The command line of vantix-server: a command word (serve by default) and its options.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "server/ServeSettings.h"

namespace server {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Command { Serve, Import, Review, Players, Help };

struct Invocation {
    Command command = Command::Serve;
    ServeSettings settings;
    std::vector<std::string> arguments;  // the words after the command
};

class CommandLine {
public:
    static Invocation Parse(const std::vector<std::string>& words);
    static const char* HelpText();
};

}  // namespace server
