#include "server/CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace server {
namespace {

double Seconds(const std::string& option, const std::string& text, bool zeroAllowed)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value) || value < 0 || (!zeroAllowed && value == 0) ||
        value > 86400)
        throw UsageError(option + " takes a number of seconds" + (zeroAllowed ? "" : " above 0") + ", not \"" + text + "\"");
    return value;
}

long Whole(const std::string& option, const std::string& text, long low, long high)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high)
        throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                         ", not \"" + text + "\"");
    return value;
}

}  // namespace

const char* CommandLine::HelpText()
{
    return "Usage: vantix-server [serve] [OPTION...]       run the game server (the default command)\n"
           "       vantix-server import FILE [--db FILE]    add the questions of a bank file, approved\n"
           "       vantix-server review [--db FILE]         list submitted questions waiting for review\n"
           "       vantix-server review approve ID [CATEGORY] [--db FILE]\n"
           "       vantix-server review reject ID [--db FILE]\n"
           "       vantix-server players [--db FILE]        list the accounts\n"
           "\n"
           "Options of serve:\n"
           "  --address A             listen on address A only (default: every address)\n"
           "  --port N                TCP port to listen on (default 2)\n"
           "  --db FILE               the store (default vantix.db in the working directory)\n"
           "  --question-seconds S    how long each question is open (default 30)\n"
           "  --settle-seconds S      pause after each question while the clients settle it (default 5)\n"
           "  --game-pause-seconds S  pause between games (default 20)\n"
           "  --questions-per-game N  questions in a game (default 15)\n"
           "  --latency-allowance S   network delay, there and back, for which an answer's own time\n"
           "                          is trusted (default 1)\n"
           "  --incomplete-seconds S  close a connection that leaves a message incomplete, or does not\n"
           "                          log in, for longer than this (default 30)\n"
           "  --max-connections N     connections served at once (default 50000)\n"
           "  --help                  show this text\n"
           "Seconds may be fractional. CATEGORY is one of MOV, GEO, HIS, SPO, BUS; a question approved\n"
           "without one is played over the default picture.\n";
}

Invocation CommandLine::Parse(const std::vector<std::string>& words)
{
    Invocation invocation;
    ServeSettings& s = invocation.settings;
    using Setter = std::function<void(const std::string& option, const std::string& value)>;
    const std::map<std::string, Setter> serveOptions = {
        {"--address", [&](auto&, auto& v) { s.address = v; }},
        {"--port", [&](auto& o, auto& v) { s.port = static_cast<std::uint16_t>(Whole(o, v, 1, 65535)); }},
        {"--question-seconds", [&](auto& o, auto& v) { s.timing.questionSeconds = Seconds(o, v, false); }},
        {"--settle-seconds", [&](auto& o, auto& v) { s.timing.settleSeconds = Seconds(o, v, true); }},
        {"--game-pause-seconds", [&](auto& o, auto& v) { s.timing.gamePauseSeconds = Seconds(o, v, true); }},
        {"--questions-per-game", [&](auto& o, auto& v) { s.timing.questionsPerGame = static_cast<int>(Whole(o, v, 1, 1000)); }},
        {"--latency-allowance", [&](auto& o, auto& v) { s.timing.latencyAllowance = Seconds(o, v, true); }},
        {"--incomplete-seconds", [&](auto& o, auto& v) { s.incompleteSeconds = Seconds(o, v, false); }},
        {"--max-connections", [&](auto& o, auto& v) { s.maxConnections = static_cast<std::size_t>(Whole(o, v, 1, 1000000)); }},
    };

    bool commandSeen = false;
    std::string serveOption;  // one that was given, if any
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string word = words[i];
        if (word == "--help" || word == "-h") {
            invocation.command = Command::Help;
            return invocation;
        }
        if (word.rfind("--", 0) != 0) {
            if (commandSeen) {
                invocation.arguments.push_back(word);
                continue;
            }
            static const std::map<std::string, Command> commands = {{"serve", Command::Serve},
                                                                    {"import", Command::Import},
                                                                    {"review", Command::Review},
                                                                    {"players", Command::Players},
                                                                    {"help", Command::Help}};
            const auto command = commands.find(word);
            if (command == commands.end())
                throw UsageError("unknown command \"" + word + "\"");
            invocation.command = command->second;
            commandSeen = true;
            continue;
        }
        std::string value;
        if (const std::size_t equals = word.find('='); equals != std::string::npos) {
            value = word.substr(equals + 1);
            word.resize(equals);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            throw UsageError(word + " needs a value");
        }
        if (word == "--db") {
            s.db = value;
            continue;
        }
        const auto option = serveOptions.find(word);
        if (option == serveOptions.end())
            throw UsageError("unknown option " + word);
        option->second(word, value);
        serveOption = word;
    }
    if (invocation.command != Command::Serve && !serveOption.empty())
        throw UsageError(serveOption + " is an option of serve");

    const std::size_t given = invocation.arguments.size();
    switch (invocation.command) {
    case Command::Serve:
    case Command::Players:
        if (given != 0)
            throw UsageError("unexpected \"" + invocation.arguments.front() + "\"");
        break;
    case Command::Import:
        if (given != 1)
            throw UsageError("import takes one FILE");
        break;
    case Command::Review:
        if (!(given == 0 || ((given == 2 || given == 3) && invocation.arguments[0] == "approve") ||
              (given == 2 && invocation.arguments[0] == "reject")))
            throw UsageError("review takes nothing, \"approve ID [CATEGORY]\" or \"reject ID\"");
        break;
    case Command::Help:
        break;
    }
    return invocation;
}

}  // namespace server
