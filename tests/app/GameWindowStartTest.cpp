// The game window's start and end, and the dispatch of server messages, as a player and
// the server see them: the program's windows on the offscreen platform, driven by a
// scripted player, against a real FTP server and a scripted game server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>

#include "app/GameDlg.h"
#include "net/MessageCatalogue.h"
#include "platform/Afx.h"
#include "platform/CWinApp.h"
#include "res/Resource.h"
#include "tests/support/FtpServer.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PrivateNetwork.h"
#include "tests/support/ScriptedPeer.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

const char* const kPictures[] = {"BACK.BMP", "MOVIES.BMP", "GEOGRAPH.BMP", "HISTORY.BMP",
                                 "SPORTS.BMP", "BUSINESS.BMP", "WINNER.BMP"};

std::string ServerMessage(const wire::Message& message) { return wire::Encode(wire::Direction::ServerToClient, message); }

std::string LoginBytes(const std::string& name, const std::string& password)
{
    return wire::Encode(wire::Direction::ClientToServer, {"LOGIN", {name, password, std::string("1.0.0.4")}});
}

void LogIn(QWidget* prompt, const QString& name, const QString& password)
{
    TypeInto(prompt, IDC_NAME, name);
    TypeInto(prompt, IDC_PASSWORD, password);
    ClickButton(prompt, IDOK);
}

class GameWindowStart : public testing::Test {
protected:
    void SetUp() override
    {
        m_folder = MakeTempFolder();
        for (const char* picture : kPictures)
            fs::copy_file(fs::path(VANTIX_SOURCE_DIR) / "data" / picture, fs::path(m_folder) / picture);
        fs::current_path(m_folder);
    }

    // The game window's whole modal run, as the application runs it.
    INT_PTR Run(CGameDlg& dlg)
    {
        AfxGetApp()->m_pMainWnd = &dlg;
        const INT_PTR result = dlg.DoModal();
        AfxGetApp()->m_pMainWnd = nullptr;
        return result;
    }

    // A game server at the fallback address, which discovery falls back to here.
    std::unique_ptr<ScriptedPeer> ServerAtFallback()
    {
        const std::string added = AddLoopbackAddress("2.2.2.2");
        if (!added.empty() && added.find("File exists") == std::string::npos)
            ADD_FAILURE() << added;
        return std::make_unique<ScriptedPeer>("2.2.2.2", 2);
    }

    std::string m_folder;
};

TEST_F(GameWindowStart, DiscoveredServerReceivesExactlyTheLogin)
{
    const std::string ftpFolder = MakeTempFolder();
    WriteTextFile(ftpFolder + "/server", "127.0.0.1\n");
    FtpServer ftp(ftpFolder);
    ScriptedPeer server("127.0.0.1", 2);

    std::string received;
    QStringList buttons;
    ModalScript script;
    script.When("Login to Trivia Server", [](QWidget* prompt) { LogIn(prompt, "ann smith", " pass word"); })
        .When("Orbelle", [&](QWidget* window) {
            received = server.WaitForBytes(LoginBytes("ann smith", " pass word").size());
            for (QPushButton* button : window->findChildren<QPushButton*>())
                if (button->isVisible())
                    buttons << button->text();
            ClickButton(window, IDOK);
        });
    CGameDlg dlg;
    EXPECT_EQ(Run(dlg), IDOK);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_EQ(received, LoginBytes("ann smith", " pass word")) << "name and password exactly as typed";
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"Done", "Hall Of Fame", "Message", "New Question", "Peek For 100", "Top Ten"}));
    EXPECT_EQ(dlg.m_strStatus, "Please wait for the next question...");
    EXPECT_EQ(dlg.m_nScore, 0);
    EXPECT_GT(dlg.m_nLineHeight, 15);
    RunEventsFor(200);
    EXPECT_EQ(server.Received(), received) << "ending the window sends nothing";
}

TEST_F(GameWindowStart, FailedDiscoveryConnectsToTheFallbackAddress)
{
    auto server = ServerAtFallback();
    ModalScript script;
    script.When("Login to Trivia Server", [](QWidget* prompt) { LogIn(prompt, "bob", "pw"); })
        .When("Orbelle", [&](QWidget* window) {
            server->WaitForBytes(LoginBytes("bob", "pw").size());
            QTest::keyClick(window, Qt::Key_Escape);
        });
    CGameDlg dlg;
    EXPECT_EQ(Run(dlg), IDCANCEL);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_EQ(server->Received(), LoginBytes("bob", "pw"));
}

TEST_F(GameWindowStart, CancellingTheLoginConnectsNowhereAndSaysNothing)
{
    auto server = ServerAtFallback();
    const std::function<void(QWidget*)> ways[] = {
        [](QWidget* prompt) { ClickButton(prompt, IDCANCEL); },
        [](QWidget* prompt) { QTest::keyClick(prompt, Qt::Key_Escape); },
        [](QWidget* prompt) { prompt->close(); },
    };
    for (const auto& cancel : ways) {
        bool sawMessage = false;
        ModalScript script;
        script.When("Login to Trivia Server", [&](QWidget* prompt) {
            TypeInto(prompt, IDC_NAME, "ann");
            cancel(prompt);
        });
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] { sawMessage = sawMessage || FindWindow("Vantix"); });
        watch.start(10);
        CGameDlg dlg;
        Run(dlg);
        EXPECT_TRUE(script.Done()) << script.Failure();
        EXPECT_FALSE(dlg.HasWindow());
        EXPECT_EQ(dlg.m_pSocket, nullptr);
        EXPECT_FALSE(sawMessage);
    }
    RunEventsFor(100);
    EXPECT_EQ(server->Connections(), 0);
}

TEST_F(GameWindowStart, AnEmptyNameOrPasswordKeepsThePromptAsTyped)
{
    const struct {
        QString name, password;
    } rows[] = {{"ann", ""}, {"", "secret"}};
    for (const auto& row : rows) {
        QString message, nameAfter, passwordAfter;
        ModalScript script;
        script.When("Login to Trivia Server", [&](QWidget* prompt) { LogIn(prompt, row.name, row.password); })
            .When("Vantix", [&](QWidget* box) {
                message = MessageText(box);
                PressOk(box);
            })
            .When("Login to Trivia Server", [&](QWidget* prompt) {
                nameAfter = Control(prompt, IDC_NAME)->property("text").toString();
                passwordAfter = Control(prompt, IDC_PASSWORD)->property("text").toString();
                ClickButton(prompt, IDCANCEL);
            });
        CGameDlg dlg;
        Run(dlg);
        ASSERT_TRUE(script.Done()) << script.Failure();
        EXPECT_EQ(message, "You must fill in both the name and password.");
        EXPECT_EQ(nameAfter, row.name);
        EXPECT_EQ(passwordAfter, row.password);
    }
}

TEST_F(GameWindowStart, ARefusedConnectionShowsTheMessageAndEnds)
{
    AddLoopbackAddress("2.2.2.2");  // reachable, but nothing listens on port 2
    QString message;
    ModalScript script;
    script.When("Login to Trivia Server", [](QWidget* prompt) { LogIn(prompt, "ann", "pw"); })
        .When("Vantix", [&](QWidget* box) {
            message = MessageText(box);
            PressOk(box);
        });
    CGameDlg dlg;
    Run(dlg);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_EQ(message, "Could not connect to server.  Please try again later.");
    EXPECT_EQ(dlg.m_pSocket, nullptr);
    EXPECT_FALSE(dlg.HasWindow());
}

TEST_F(GameWindowStart, AMissingPictureDoesNotStopTheStart)
{
    fs::remove("SPORTS.BMP");
    auto server = ServerAtFallback();
    ModalScript script;
    script.When("Login to Trivia Server", [](QWidget* prompt) { LogIn(prompt, "ann", "pw"); })
        .When("Orbelle", [](QWidget* window) { ClickButton(window, IDOK); });
    CGameDlg dlg;
    Run(dlg);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_EQ(dlg.m_picSports.hBitmap, nullptr);
    EXPECT_EQ(dlg.m_picSports.hPalette, nullptr);
    for (const Picture* loaded : {&dlg.m_picBack, &dlg.m_picMovies, &dlg.m_picGeography, &dlg.m_picHistory,
                                  &dlg.m_picBusiness, &dlg.m_picWinner})
        EXPECT_NE(loaded->hBitmap, nullptr);
    EXPECT_EQ(dlg.m_picCurrent.hBitmap, dlg.m_picBack.hBitmap);
}

TEST_F(GameWindowStart, WindowMenuEntryOpensTheAboutBox)
{
    auto server = ServerAtFallback();
    QStringList labels;
    ModalScript script;
    script.When("Login to Trivia Server", [](QWidget* prompt) { LogIn(prompt, "ann", "pw"); })
        .When("Orbelle", [](QWidget* window) {
            QTimer::singleShot(100, [] {
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible())
                        for (QAction* action : menu->actions())
                            if (action->text() == "&About Vantix...")
                                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            });
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(40, 40), window->mapToGlobal(QPoint(40, 40)));
            QApplication::sendEvent(window, &rightClick);
        })
        .When("About Vantix", [&](QWidget* about) {
            for (QLabel* label : about->findChildren<QLabel*>())
                if (!label->text().isEmpty())
                    labels << label->text();
            ClickButton(about, IDOK);
        })
        .When("Orbelle", [](QWidget* window) { window->close(); });
    CGameDlg dlg;
    EXPECT_EQ(Run(dlg), IDCANCEL);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_TRUE(labels.contains("Vantix Version 1.0"));
}

TEST_F(GameWindowStart, WithoutSocketsTheOneThingShownIsTheMessage)
{
    // No new descriptor can be made: every free number is taken and the limit sits above them.
    rlimit saved{};
    getrlimit(RLIMIT_NOFILE, &saved);
    std::vector<int> fillers;
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0 && fd < 4096;)
        fillers.push_back(fd);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(fillers.empty() ? 0 : fillers.back() + 1);
    setrlimit(RLIMIT_NOFILE, &tight);

    QStringList shown;
    ModalScript script;
    script.When("Vantix", [&](QWidget* box) {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible())
                shown << widget->windowTitle();
        shown << MessageText(box);
        PressOk(box);
    });
    const BOOL result = AfxGetApp()->InitInstance();

    setrlimit(RLIMIT_NOFILE, &saved);
    for (int fd : fillers)
        close(fd);
    EXPECT_EQ(result, FALSE);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_EQ(shown, QStringList({"Vantix", "Windows sockets initialization failed."}));
}

// The game window's run once logged in at the fallback address, with what the server sends then.
class ServerMessages : public GameWindowStart {
protected:
    void SetUp() override
    {
        GameWindowStart::SetUp();
        server = ServerAtFallback();
    }
    void LogInThen(ModalScript& script, const std::function<void(QWidget*)>& then)
    {
        script.When("Login to Trivia Server", [](QWidget* prompt) { LogIn(prompt, "ann", "pw"); })
            .When("Orbelle", [this, then](QWidget* window) {
                server->WaitForBytes(LoginBytes("ann", "pw").size());
                then(window);
            });
    }
    std::unique_ptr<ScriptedPeer> server;
};

const std::string kBadVersion = ServerMessage({"BADVERSION", {}});
const std::string kProfile = ServerMessage(
    {"RECPROFILE", {"Norway", "Oslo", "ann@example.org", "Owls", "Likes maps", "F", 34, 5120, 12}});

TEST_F(ServerMessages, BadVersionEndsTheProgramAfterItsMessage)
{
    QString message;
    ModalScript script;
    LogInThen(script, [this](QWidget*) { server->Send(kBadVersion); });
    script.When("Vantix", [&](QWidget* box) {
        message = MessageText(box);
        PressOk(box);
    });
    CGameDlg dlg;
    EXPECT_EQ(Run(dlg), IDOK);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_EQ(message, "Please download the newest client software.");
    EXPECT_EQ(server->Received(), LoginBytes("ann", "pw")) << "nothing is sent";
}

TEST_F(ServerMessages, MessagesBehindOneAnotherAreAllFramed)
{
    ModalScript script;
    LogInThen(script, [this](QWidget*) { server->Send(kProfile + kBadVersion); });
    script.When("Vantix", [](QWidget* box) { PressOk(box); });
    CGameDlg dlg;
    EXPECT_EQ(Run(dlg), IDOK);
    EXPECT_TRUE(script.Done()) << script.Failure();
}

TEST_F(ServerMessages, AnUnknownWordDropsWhatArrivedWithItAndChangesNothing)
{
    bool sawMessage = false;
    ModalScript script;
    LogInThen(script, [&](QWidget*) {
        server->Send(ServerMessage({"RECMESS", {std::string("hi")}}).replace(1, 7, "NOTAWORD") + kBadVersion);
        RunEventsFor(600);
        sawMessage = FindWindow("Vantix") != nullptr;
        server->Send(kBadVersion);
    });
    script.When("Vantix", [](QWidget* box) { PressOk(box); });
    CGameDlg dlg;
    EXPECT_EQ(Run(dlg), IDOK);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_FALSE(sawMessage) << "the message behind an unknown word cannot be framed";
    EXPECT_EQ(dlg.m_strStatus, "Please wait for the next question...");
}

TEST_F(ServerMessages, AServerClosingInsideAMessageIsReportedOnce)
{
    int reports = 0;
    QString text;
    ModalScript script;
    LogInThen(script, [this](QWidget*) {
        server->Send(kProfile.substr(0, kProfile.size() - 6));
        server->Close();
    });
    script.When("Vantix", [&](QWidget* box) {
        ++reports;
        text = MessageText(box);
        PressOk(box);
    });
    script.When("Orbelle", [&](QWidget* window) {
        RunEventsFor(500);
        reports += FindWindow("Vantix") != nullptr;
        ClickButton(window, IDOK);
    });
    CGameDlg dlg;
    EXPECT_EQ(Run(dlg), IDOK);
    ASSERT_TRUE(script.Done()) << script.Failure();
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(text, "The connection ended in the middle of a message.");
}

}  // namespace
