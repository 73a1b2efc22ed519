// The built vantix-server, run as a child process of a test (inside the test's private
// network namespace), with its log captured in a file.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace server_test {

using namespace std::chrono_literals;

// A directory of its own for one test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

class ServerProcess {
public:
    // Starts "vantix-server serve" with the arguments and waits until it listens.
    ServerProcess(const std::string& logPath, const std::vector<std::string>& arguments);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int Terminate();  // SIGTERM; returns the exit status
    void Kill();      // SIGKILL
    std::string Log() const;
    // Waits until the log holds the text; returns whether it did.
    bool WaitForLog(const std::string& text, std::chrono::milliseconds timeout = 10s) const;

    static std::string Binary();
    // Runs vantix-server with the arguments to its end.
    static CommandResult Run(const std::vector<std::string>& arguments);

private:
    int Wait();

    std::string logPath_;
    pid_t pid_ = -1;
};

}  // namespace server_test
