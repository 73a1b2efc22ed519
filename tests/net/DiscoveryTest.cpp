// Discovery of the game server's address, against the real FTP server and, where the FTP
// server cannot be made to misbehave, against a scripted one.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "net/ServerDiscovery.h"
#include "tests/support/FtpServer.h"

namespace {

using namespace test_support;
using Clock = std::chrono::steady_clock;

struct Discovery {
    BOOL result;
    std::string text;
    double seconds;
};

Discovery Discover()
{
    char address[kServerAddressBufferSize] = {};
    const auto start = Clock::now();
    const BOOL result = DiscoverServerAddress(address);
    return {result, result ? std::string(address) : std::string(),
            std::chrono::duration<double>(Clock::now() - start).count()};
}

TEST(Discovery, FetchesTheFileTextUnchanged)
{
    for (const std::string content : {"127.0.0.1\r\n", "localhost", "10.1.2.3"}) {
        const std::string folder = MakeTempFolder();
        WriteTextFile(folder + "/server", content);
        FtpServer ftp(folder);
        const Discovery found = Discover();
        EXPECT_EQ(found.result, 1) << content << "\n" << ftp.Log();
        EXPECT_EQ(found.text, content);
    }
}

TEST(Discovery, FailsWithinItsWaitWhenTheFileIsMissingOrUnfit)
{
    const std::string missing = MakeTempFolder();
    {
        FtpServer ftp(missing);
        const Discovery found = Discover();
        EXPECT_EQ(found.result, 0);
        EXPECT_LT(found.seconds, 6.0);
    }
    const std::string tooLong = MakeTempFolder();
    WriteTextFile(tooLong + "/server", std::string(150, '1'));
    FtpServer ftp(tooLong);
    EXPECT_EQ(Discover().result, 0) << "a text longer than 99 characters is no address";
}

TEST(Discovery, FailsAtOnceWithoutADiscoveryServer)
{
    const Discovery found = Discover();
    EXPECT_EQ(found.result, 0);
    EXPECT_LT(found.seconds, 1.0);
}

// An FTP server that answers every command as a real one would, records the PORT line,
// opens the data connection it names, and ends the transfer as the test says.
class ScriptedFtp {
public:
    enum class Ending { Close, Reset };

    ScriptedFtp(std::string content, Ending ending) : m_content(std::move(content)), m_ending(ending)
    {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int yes = 1;
        setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(21);
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&local), sizeof local);
        listen(m_listener, 1);
        m_thread = std::thread([this] { Serve(); });
    }
    ~ScriptedFtp()
    {
        m_thread.join();
        close(m_listener);
    }

    std::string portLine;
    std::uint16_t controlPeerPort = 0;

private:
    void Reply(int fd, const std::string& line) { send(fd, line.data(), line.size(), MSG_NOSIGNAL); }

    std::string ReadLine(int fd)
    {
        std::string line;
        char c;
        while (recv(fd, &c, 1, 0) == 1) {
            line += c;
            if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
                break;
        }
        return line;
    }

    void Serve()
    {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const int control = accept(m_listener, reinterpret_cast<sockaddr*>(&peer), &length);
        controlPeerPort = ntohs(peer.sin_port);
        Reply(control, "220 ready\r\n");
        for (std::string line; !(line = ReadLine(control)).empty();) {
            if (line.rfind("USER", 0) == 0) {
                Reply(control, "331 password please\r\n");
            } else if (line.rfind("PASS", 0) == 0) {
                Reply(control, "230 logged in\r\n");
            } else if (line.rfind("PORT", 0) == 0) {
                portLine = line;
                Reply(control, "200 ok\r\n");
            } else if (line.rfind("RETR", 0) == 0) {
                Reply(control, "150 opening\r\n");
                Transfer();
                Reply(control, "226 done\r\n");
            } else if (line.rfind("QUIT", 0) == 0) {
                Reply(control, "221 bye\r\n");
                break;
            }
        }
        close(control);
    }

    void Transfer()
    {
        int a, b, c, d, high, low;
        if (std::sscanf(portLine.c_str(), "PORT %d,%d,%d,%d,%d,%d", &a, &b, &c, &d, &high, &low) != 6)
            return;
        sockaddr_in client{};
        client.sin_family = AF_INET;
        client.sin_port = htons(static_cast<std::uint16_t>(high * 256 + low));
        client.sin_addr.s_addr = htonl((a << 24) | (b << 16) | (c << 8) | d);
        const int data = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (connect(data, reinterpret_cast<sockaddr*>(&client), sizeof client) != 0) {
            close(data);
            return;
        }
        send(data, m_content.data(), m_content.size(), MSG_NOSIGNAL);
        if (m_ending == Ending::Reset) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const linger abort{1, 0};
            setsockopt(data, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        }
        close(data);
    }

    std::string m_content;
    Ending m_ending;
    int m_listener = -1;
    std::thread m_thread;
};

TEST(Discovery, PortLineNamesTheListenerHighByteFirst)
{
    // Only ports 770 and 771 are free to pick in this namespace: one goes to the control
    // connection, the other to the listener.
    std::ofstream("/proc/sys/net/ipv4/ip_unprivileged_port_start") << "0";
    std::ofstream("/proc/sys/net/ipv4/ip_local_port_range") << "770 771";
    ScriptedFtp ftp("127.0.0.1", ScriptedFtp::Ending::Close);
    const Discovery found = Discover();
    ASSERT_EQ(found.result, 1);
    EXPECT_EQ(found.text, "127.0.0.1");
    const std::uint16_t listenerPort = ftp.controlPeerPort == 770 ? 771 : 770;
    EXPECT_EQ(ftp.portLine, "PORT 127,0,0,1,3," + std::to_string(listenerPort - 768) + "\r\n");
}

TEST(Discovery, ATransferEndingInAReceiveErrorKeepsItsBytes)
{
    ScriptedFtp ftp("10.1.2.3", ScriptedFtp::Ending::Reset);
    const Discovery found = Discover();
    EXPECT_EQ(found.result, 1);
    EXPECT_EQ(found.text, "10.1.2.3");
}

}  // namespace
