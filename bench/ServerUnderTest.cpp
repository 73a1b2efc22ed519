#include "bench/ServerUnderTest.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "server/EmbeddedBank.h"
#include "server/PasswordHasher.h"
#include "server/QuestionBank.h"
#include "server/Store.h"

namespace bench {

std::string ServerUnderTest::PlayerName(int index)
{
    char name[16];
    std::snprintf(name, sizeof name, "b%05d", index);
    return name;
}

void ServerUnderTest::PrepareStore(const std::string& directory, int players)
{
    server::PasswordHasher::Initialise();
    server::Store store(directory + "/bench.db");
    store.ImportQuestions(server::QuestionBank::Parse(server::EmbeddedBank::Text()).questions);
    server::NewAccount account;
    account.passwordHash = server::PasswordHasher::Hash("bench");
    account.country = "Benchland";
    for (int i = 0; i < players; ++i) {
        account.name = PlayerName(i);
        std::int64_t id = 0;
        store.CreateAccount(account, id);
    }
}

ServerUnderTest::ServerUnderTest(const std::string& directory, const std::vector<std::string>& options)
{
    std::vector<std::string> words = {std::string(VANTIX_BINARY_DIR) + "/vantix-server", "serve", "--db",
                                      directory + "/bench.db"};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string log = directory + "/server.log";
    pid_ = fork();
    if (pid_ == 0) {
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    for (int i = 0; i < 1000; ++i) {
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        if (text.str().find("listening on") != std::string::npos)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    throw std::runtime_error("the server did not start; see " + log);
}

ServerUnderTest::~ServerUnderTest() { Stop(); }

void ServerUnderTest::Stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

ProcessStats ServerUnderTest::Stats() const
{
    ProcessStats stats;
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command name, which is in parentheses: utime and stime are the 12th and 13th.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int i = 1; i <= 13 && fields >> field; ++i) {
        if (i == 12)
            user = std::stoull(field);
        if (i == 13)
            system = std::stoull(field);
    }
    stats.cpuSeconds = static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));

    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            stats.peakKiB = std::stol(line.substr(6));
        if (line.rfind("VmRSS:", 0) == 0)
            stats.residentKiB = std::stol(line.substr(6));
    }
    return stats;
}

}  // namespace bench
