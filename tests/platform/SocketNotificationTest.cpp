// A connection's notifications on a real loopback connection: every message that arrives
// is handled once and in order, also while a handler runs a nested modal loop; the peer's
// close is noticed once; an error in a handler reaches the default error report once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <thread>

#include "platform/Afx.h"
#include "platform/CDialog.h"
#include "res/Resource.h"
#include "platform/CArchive.h"
#include "platform/CSocket.h"
#include "platform/CSocketFile.h"
#include "tests/support/ModalScript.h"
#include "tests/support/ScriptedPeer.h"

namespace {

using namespace test_support;

std::string Word(const std::string& text) { return std::string(1, static_cast<char>(text.size())) + text; }

// Each notification reads one word; "PAIR" is followed by two words, "MODAL" opens a box.
class RecordingSocket : public CSocket {
public:
    void OnReceive(int) override
    {
        CArchive reader(m_pFile, CArchive::load);
        std::string word;
        reader >> word;
        log.push_back(word);
        if (word == "PAIR") {
            for (int i = 0; i < 2; ++i) {
                reader >> word;
                log.push_back(word);
            }
        }
        if (word == "MODAL")
            AfxMessageBox("modal");
        reader.Close();
    }
    void OnClose(int) override { ++closes; }

    CSocketFile* m_pFile = nullptr;
    std::vector<std::string> log;
    int closes = 0;
};

bool RunEventsUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition() && elapsed.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

class SocketNotification : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(socket.Create());
        ASSERT_TRUE(socket.Connect("127.0.0.1", peer.Port()));
        file = std::make_unique<CSocketFile>(&socket);
        socket.m_pFile = file.get();
        ASSERT_TRUE(peer.WaitForConnection());
    }

    ScriptedPeer peer{"127.0.0.1", 0};
    RecordingSocket socket;
    std::unique_ptr<CSocketFile> file;
};

using Log = std::vector<std::string>;

TEST_F(SocketNotification, MessagesInOneSegmentAreAllHandledInOrderAlsoInsideANestedLoop)
{
    Log insideTheBox;
    ModalScript script;
    script.When("Vantix", [&](QWidget* box) {
        // Behind the message that opened the box: its followers, then what arrives later.
        peer.Send(Word("LATER"));
        RunEventsUntil([&] { return socket.log.size() >= 5; });
        insideTheBox = socket.log;
        PressOk(box);
    });
    peer.Send(Word("FIRST") + Word("MODAL") + Word("SECOND") + Word("THIRD"));
    ASSERT_TRUE(RunEventsUntil([&] { return script.Done(); }, 15000)) << script.Failure();
    EXPECT_EQ(insideTheBox, (Log{"FIRST", "MODAL", "SECOND", "THIRD", "LATER"}));
    RunEventsFor(200);
    EXPECT_EQ(socket.log.size(), 5u) << "each message is handled once";
}

TEST_F(SocketNotification, AMessageInManyPiecesIsHandledWhole)
{
    const std::string message = Word("PAIR") + Word("one") + Word("two");
    std::thread sender([&] {
        for (char byte : message) {
            peer.Send(std::string(1, byte));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const bool handled = RunEventsUntil([&] { return socket.log.size() == 3; });
    sender.join();
    ASSERT_TRUE(handled);
    EXPECT_EQ(socket.log, (Log{"PAIR", "one", "two"}));
}

TEST_F(SocketNotification, ACloseInsideAMessageKeepsEarlierFieldsAndReportsOnce)
{
    int reports = 0;
    QString text;
    bool stopIcon = false;
    ModalScript script;
    script.When("Vantix", [&](QWidget* box) {
        ++reports;
        text = MessageText(box);
        stopIcon = MessageHasStopIcon(box);
        PressOk(box);
    });
    peer.Send(Word("PAIR") + Word("one") + std::string("\x05tw"));
    peer.Close();
    ASSERT_TRUE(RunEventsUntil([&] { return script.Done(); })) << script.Failure();
    RunEventsFor(500);
    EXPECT_EQ(socket.log, (Log{"PAIR", "one"}));
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(stopIcon);
    EXPECT_EQ(text, "The connection ended in the middle of a message.");
    EXPECT_EQ(socket.closes, 1);
    EXPECT_EQ(FindWindow("Vantix"), nullptr) << "no second report";
}

TEST_F(SocketNotification, AnOrderlyCloseIsOneCloseEventAndNoData)
{
    peer.Close();
    ASSERT_TRUE(RunEventsUntil([&] { return socket.closes > 0; }));
    RunEventsFor(300);
    EXPECT_EQ(socket.closes, 1);
    EXPECT_TRUE(socket.log.empty());
    EXPECT_EQ(FindWindow("Vantix"), nullptr);
}

TEST(SocketConnect, TakesDottedAddressesWithTrailingBlanksAndHostNames)
{
    ScriptedPeer peer("127.0.0.1", 0);
    for (const std::string address : {"127.0.0.1", "127.0.0.1\n", "127.0.0.1 \r\n", "localhost"}) {
        CSocket socket;
        ASSERT_TRUE(socket.Create());
        EXPECT_TRUE(socket.Connect(address.c_str(), peer.Port())) << address;
    }
    for (const std::string address : {"127.0.0.1x", "no-such-host.invalid", ""}) {
        CSocket socket;
        ASSERT_TRUE(socket.Create());
        EXPECT_FALSE(socket.Connect(address.c_str(), peer.Port())) << address;
    }
}

// A window that counts its timer ticks.
class TickCounter : public CDialog {
public:
    TickCounter() : CDialog(IDD_ABOUTBOX) {}
    int ticks = 0;

protected:
    void OnTimer(UINT) { ++ticks; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TickCounter, CDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(SocketNotification, TicksWaitWhileAReceiveWaitsAndAtMostOneIsMadeUp)
{
    TickCounter window;
    int whileRunning = 0, rightAfterTheWait = 0;
    char byte = 0;
    ModalScript script;
    script.When("About Vantix", [&](QWidget* about) {
        window.SetTimer(1, 200);
        RunEventsFor(1000);
        whileRunning = window.ticks;
        std::thread late([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            peer.Send("x");
        });
        const int before = window.ticks;
        socket.Receive(&byte, 1);  // blocks for 1.5 s: no event is handled meanwhile
        late.join();
        EXPECT_EQ(window.ticks, before);
        RunEventsFor(100);
        rightAfterTheWait = window.ticks - before;
        ClickButton(about, IDOK);
    });
    window.DoModal();
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_GE(whileRunning, 4);
    EXPECT_EQ(byte, 'x');
    EXPECT_EQ(rightAfterTheWait, 1) << "the 7 ticks missed during the wait are not made up";
}

}  // namespace
