#include "tests/support/FtpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace test_support {
namespace {

bool PortTakesConnections(std::uint16_t port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

}  // namespace

FtpServer::FtpServer(const std::string& folder) : m_logPath(MakeTempFolder() + "/ftp.log")
{
    m_pid = fork();
    if (m_pid == 0) {
        const int log = open(m_logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(log, STDOUT_FILENO);
        dup2(log, STDERR_FILENO);
        execl("/usr/bin/python3", "python3", "-m", "pyftpdlib", "-u", "dbranum", "-P", "Tb8kW4nq", "-p", "21", "-d",
              folder.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!PortTakesConnections(21)) {
        if (std::chrono::steady_clock::now() > deadline || waitpid(m_pid, nullptr, WNOHANG) == m_pid)
            throw std::runtime_error("the FTP server did not start: " + Log());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

FtpServer::~FtpServer()
{
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
}

std::string FtpServer::Log() const
{
    std::ifstream in(m_logPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string MakeTempFolder()
{
    char pattern[] = "/tmp/vantix-test-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

void WriteTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

}  // namespace test_support
