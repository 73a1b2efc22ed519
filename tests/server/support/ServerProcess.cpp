#include "tests/server/support/ServerProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace server_test {
namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::string& outPath, const std::string& errPath)
{
    std::vector<std::string> words = {ServerProcess::Binary()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status); }

}  // namespace

TempDir::TempDir()
{
    char pattern[] = "/tmp/vantix-server-test-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ServerProcess::Binary() { return std::string(VANTIX_BINARY_DIR) + "/vantix-server"; }

ServerProcess::ServerProcess(const std::string& logPath, const std::vector<std::string>& arguments) : logPath_(logPath)
{
    std::vector<std::string> serve = {"serve"};
    serve.insert(serve.end(), arguments.begin(), arguments.end());
    pid_ = Spawn(serve, "/dev/null", logPath_);
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (Log().find("listening on") == std::string::npos) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("vantix-server ended before listening:\n" + Log());
        }
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("vantix-server did not start listening:\n" + Log());
        std::this_thread::sleep_for(10ms);
    }
}

ServerProcess::~ServerProcess()
{
    if (pid_ > 0)
        Kill();
}

int ServerProcess::Wait()
{
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return ExitStatus(status);
}

int ServerProcess::Terminate()
{
    kill(pid_, SIGTERM);
    return Wait();
}

void ServerProcess::Kill()
{
    kill(pid_, SIGKILL);
    Wait();
}

std::string ServerProcess::Log() const { return ReadFile(logPath_); }

bool ServerProcess::WaitForLog(const std::string& text, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Log().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

CommandResult ServerProcess::Run(const std::vector<std::string>& arguments)
{
    TempDir dir;
    const pid_t pid = Spawn(arguments, dir.Path("out"), dir.Path("err"));
    int status = 0;
    waitpid(pid, &status, 0);
    return {ExitStatus(status), ReadFile(dir.Path("out")), ReadFile(dir.Path("err"))};
}

}  // namespace server_test
