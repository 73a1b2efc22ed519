// A real FTP server (pyftpdlib, from Debian) on port 21 of the test's private network,
// serving one folder to the user and password the client logs in with.
#pragma once

#include <string>
#include <sys/types.h>

namespace test_support {

class FtpServer {
public:
    // Starts the server on the folder and waits until it takes connections.
    explicit FtpServer(const std::string& folder);
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;
    ~FtpServer();

    // What the server logged (its commands and transfers).
    std::string Log() const;

private:
    pid_t m_pid = -1;
    std::string m_logPath;
};

// A new empty folder under /tmp, for one test.
std::string MakeTempFolder();
void WriteTextFile(const std::string& path, const std::string& text);

}  // namespace test_support
