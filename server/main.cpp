// vantix-server: the game server, and the commands that look after its store.
#include <sys/resource.h>

#include <asio.hpp>

#include <cstdio>
#include <exception>

#include "server/AdminCommands.h"
#include "server/CommandLine.h"
#include "server/EmbeddedBank.h"
#include "server/EventLog.h"
#include "server/PasswordHasher.h"
#include "server/QuestionBank.h"
#include "server/Server.h"
#include "server/Store.h"

namespace {

using namespace server;

// Every connection is a descriptor; take as many as the system allows.
void RaiseDescriptorLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

void ImportBuiltInBank(Store& store, EventLog& log)
{
    if (store.CountQuestions() != 0)
        return;
    const ParsedBank bank = QuestionBank::Parse(EmbeddedBank::Text());
    for (const BankProblem& problem : bank.problems)
        log.Write("error: built-in bank line " + std::to_string(problem.line) + ": " + problem.reason);
    const ImportCounts counts = store.ImportQuestions(bank.questions);
    log.Write("the store held no questions: imported " + std::to_string(counts.added) + " from the built-in bank");
}

int Serve(const ServeSettings& settings)
{
    EventLog log(stderr);
    try {
        PasswordHasher::Initialise();
        RaiseDescriptorLimit();
        Store store(settings.db);
        ImportBuiltInBank(store, log);
        asio::io_context loop(1);
        Server server(loop, settings, store, log);
        server.Start();
        loop.run();
        return 0;
    } catch (const std::exception& error) {
        log.Write(std::string("error: ") + error.what());
        return 1;
    }
}

int Administer(const Invocation& invocation)
{
    try {
        Store store(invocation.settings.db);
        AdminCommands commands(store, stdout, stderr);
        switch (invocation.command) {
        case Command::Import:
            return commands.Import(invocation.arguments.front());
        case Command::Review:
            return commands.Review(invocation.arguments);
        default:
            return commands.Players();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantix-server: %s\n", error.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Invocation invocation;
    try {
        invocation = CommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "vantix-server: %s\nTry 'vantix-server --help'.\n", error.what());
        return 2;
    }
    switch (invocation.command) {
    case Command::Help:
        std::fputs(CommandLine::HelpText(), stdout);
        return 0;
    case Command::Serve:
        return Serve(invocation.settings);
    default:
        return Administer(invocation);
    }
}
