// Start-up, the single-instance guard, the main window and the page host, driven as a player
// would drive them.
#include "app/instance_mutex.h"
#include "app/setup_window.h"
#include "flow/flow_support.h"
#include "install/installed_record.h"
#include "pages/page_host.h"

namespace flow {
namespace {

TEST(StartupFlow, AValidMediumOpensTheWelcomePage) {
    SetupRun s;
    s.Start();
    bool checked = false;
    s.Then([&](HeadlessWindowSystem& ws) {
        checked = true;
        ui::WindowHandle main = ws.MainWindow();
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(ws.GetCaption(main), Sj(SJ("　『")) + kTitle + Sj(SJ("』 ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑ")));
        EXPECT_TRUE(ws.IsVisible(main));
        for (int id : {202, 203, 204, 205}) EXPECT_FALSE(s.Visible(id)) << id;
        EXPECT_TRUE(s.Visible(201));
        EXPECT_TRUE(s.FocusIs(Welcome::InstallOrUninstall));
        // Sized to the host's client area, then the host fills the window's client area; the
        // window is centred in the work area.
        ui::WindowHandle host = ws.Dialog(129);
        EXPECT_EQ(ws.ClientRect(main).width(), ws.WindowRect(host).width());
        EXPECT_EQ(ws.ClientRect(main).height(), ws.WindowRect(host).height());
        ui::Rect r = ws.WindowRect(main);
        EXPECT_EQ(r.left, 512 - r.width() / 2);
        EXPECT_EQ(r.top, 369 - r.height() / 2);
        // Pages start where the banner control ends.
        ui::Rect banner = ws.WindowRect(ws.Control(host, ui::Id(pages::PageHostControl::Banner)));
        EXPECT_EQ(ws.WindowRect(ws.Dialog(201)).left, banner.right);
        EXPECT_EQ(ws.BannerImage(host, ui::Id(pages::PageHostControl::Banner)),
                  nullptr);  // the medium has no Setup.bmp
    });
    EXPECT_EQ(s.Run(), ui::headless::kPlayerDone);
    EXPECT_TRUE(checked);
    EXPECT_TRUE(s.box.shown.empty());
    EXPECT_TRUE(s.ws.Boxes().empty());
}

TEST(StartupFlow, MissingOrDamagedDataShowsTheBoxOnceAndStillOpens) {
    for (bool damaged : {false, true}) {
        SetupRun s;
        if (damaged) s.medium.write("Setup.ini", "[SETUP]2.01\x05");
        s.Start(false);
        EXPECT_EQ(s.box.shown, std::vector<std::string>{Sj(SJ("初期データのロードor登録に失敗しました！"))});
        EXPECT_EQ(s.context->setupData->title, Sj(SJ("未登録")));
        EXPECT_EQ(s.context->mutexName, Sj(SJ("未登録")) + "_Running");
        s.Then([&](HeadlessWindowSystem& ws) {
            EXPECT_NE(ws.MainWindow(), nullptr);
            EXPECT_EQ(s.Text(Welcome::Greeting), "\"" + Sj(SJ("未登録")) + "\"" + Sj(SJ("ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑへようこそ")));
            s.Click(Welcome::Cancel);
        });
        EXPECT_EQ(s.Run(), 1);
    }
}

TEST(StartupFlow, ASecondSetupOfTheSameTitleIsRefused) {
    SetupRun s;
    s.Start();
    app::InstanceMutex running;
    ASSERT_EQ(running.Create(s.context->mutexName), os::NamedMutex::Result::Created);
    EXPECT_EQ(s.Run(), 0);
    EXPECT_EQ(s.ws.MainWindow(), nullptr);
    EXPECT_TRUE(s.ws.Boxes().empty());

    // Another game's setup runs beside it.
    SetupRun other;
    other.Start();
    other.context->setupData->title = "Other";
    other.context->mutexName = "Other_Running";
    other.Then([&](HeadlessWindowSystem&) { other.Click(Welcome::Cancel); });
    EXPECT_EQ(other.Run(), 1);

    running.Release();
    SetupRun again;
    again.Start();
    again.Then([&](HeadlessWindowSystem&) { again.Click(Welcome::Cancel); });
    EXPECT_EQ(again.Run(), 1);
}

TEST(StartupFlow, NoWindowNoSetup) {
    SetupRun s;
    s.Start();
    s.ws.FailMainWindowCreation();
    EXPECT_EQ(s.Run(), 0);
}

TEST(StartupFlow, APageThatCannotBeMadeStopsTheHost) {
    SetupRun s;
    s.Start();
    s.ws.FailDialogCreation(203);
    s.Then([&](HeadlessWindowSystem& ws) {
        EXPECT_NE(ws.Dialog(202), nullptr);
        EXPECT_EQ(ws.Dialog(203), nullptr);
        EXPECT_EQ(ws.Dialog(204), nullptr);  // the pages after it are not made
        EXPECT_FALSE(s.Visible(201));        // and none is shown
    });
    s.Run();
}

TEST(WindowLayout, CentringStaysInsideTheWorkArea) {
    ui::Rect work{0, 0, 1000, 700};
    auto at = app::CentreInWorkArea({0, 0, 401, 301}, work);
    EXPECT_EQ(at.x, 500 - 200);
    EXPECT_EQ(at.y, 350 - 150);
    at = app::CentreInWorkArea({0, 0, 1200, 300}, work);  // wider than the area: its left edge
    EXPECT_EQ(at.x, 0);
    at = app::CentreInWorkArea({0, 0, 200, 100}, {100, 50, 300, 150});
    EXPECT_EQ(at.x, 100);
    EXPECT_EQ(at.y, 50);
    at = app::CentreInWorkArea({0, 0, 10, 10}, {-500, 0, -100, 40});
    EXPECT_EQ(at.x, -305);
}

TEST(WelcomeFlow, FirstStartOffersInstall) {
    SetupRun s;
    s.Start();
    s.Then([&](HeadlessWindowSystem& ws) {
        EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｲﾝｽﾄｰﾙ")));
        EXPECT_FALSE(s.Enabled(Welcome::StartGame));
        EXPECT_FALSE(s.Enabled(Welcome::DirectXSetup));  // no dxsetup.exe on the medium
        EXPECT_EQ(s.Text(Welcome::Greeting), "\"" + kTitle + "\"" + Sj(SJ("ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑへようこそ")));
        ws.PressKey(ui::kVkReturn);  // Enter chooses install
    });
    s.Then([&](HeadlessWindowSystem&) {
        EXPECT_TRUE(s.Visible(202));
        EXPECT_FALSE(s.Visible(201));
        EXPECT_EQ(s.context->setupData->title, kTitle);
    });
    s.Run();
}

TEST(WelcomeFlow, AnInstalledGameOffersUninstallEvenWithAnEmptyKey) {
    SetupRun s;
    s.Start();
    ASSERT_TRUE(os::SystemRegistry().CreateKey(s.context->registryKeyPath));
    s.Then([&](HeadlessWindowSystem&) {
        EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｱﾝｲﾝｽﾄｰﾙ")));
        EXPECT_TRUE(s.Enabled(Welcome::StartGame));
        s.Click(Welcome::InstallOrUninstall);
    });
    s.Then([&](HeadlessWindowSystem& ws) {
        EXPECT_TRUE(s.Visible(204));
        EXPECT_FALSE(s.Checked(UninstallSettings::KeepSaveFiles));
        ws.PressKey(ui::kVkEscape);  // back
    });
    s.Then([&](HeadlessWindowSystem&) {
        EXPECT_TRUE(s.Visible(201));
        EXPECT_TRUE(s.FocusIs(Welcome::InstallOrUninstall));
    });
    s.Run();
}

TEST(WelcomeFlow, EscapeAndCancelEndTheSetupAtOnce) {
    for (bool key : {true, false}) {
        SetupRun s;
        s.Start();
        s.Then([&](HeadlessWindowSystem& ws) {
            if (key)
                ws.PressKey(ui::kVkEscape);
            else
                s.Click(Welcome::Cancel);
        });
        EXPECT_EQ(s.Run(), 1);
        EXPECT_EQ(s.ws.MainWindow(), nullptr);
        EXPECT_TRUE(s.ws.Boxes().empty());
    }
}

TEST(WelcomeFlow, ThePercentSignOfATitleStaysAsWritten) {
    SetupRun s;
    s.Start();
    s.context->setupData->title = "100%s %d";
    s.Then([&](HeadlessWindowSystem&) { s.Click(Welcome::InstallOrUninstall); });
    s.Then([&](HeadlessWindowSystem&) { s.Click(Settings::Cancel); });
    s.Then([&](HeadlessWindowSystem&) {
        EXPECT_EQ(s.Text(Welcome::Greeting), "\"100%s %d\"" + Sj(SJ("ｾｯﾄｱｯﾌﾟ ﾌﾟﾛｸﾞﾗﾑへようこそ")));
    });
    s.Run();
}

TEST(WelcomeFlow, TheDirectXButtonStartsTheMediumsSetup) {
    SetupRun s;
    std::filesystem::create_directories(s.medium.host("DirectX"));
    std::filesystem::copy_file(RECORD_START, s.medium.host("DirectX\\dxsetup.exe"));
    s.Start();
    s.Then([&](HeadlessWindowSystem&) {
        EXPECT_TRUE(s.Enabled(Welcome::DirectXSetup));
        s.Click(Welcome::DirectXSetup);
    });
    s.Then([&](HeadlessWindowSystem& ws) {
        EXPECT_TRUE(ws.Boxes().empty());
        EXPECT_TRUE(s.Visible(201));  // the setup stays where it was
        // Windows keeps a running program's file: wait until it has finished.
        std::error_code ec;
        for (int i = 0; i < 100; ++i) {
            if (s.medium.exists("DirectX\\started.txt") &&
                std::filesystem::remove(s.medium.host("DirectX\\dxsetup.exe"), ec))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        s.medium.write("DirectX\\dxsetup.exe", "not a program");
        s.Click(Welcome::DirectXSetup);
    });
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().size(), 1u);
        EXPECT_EQ(ws.Boxes()[0].text, Sj(SJ("DirectXのｾｯﾄｱｯﾌﾟの実行に失敗しました！")));
        EXPECT_EQ(ws.Boxes()[0].caption, Sj(SJ("DirectXのｾｯﾄｱｯﾌﾟ")));
        EXPECT_EQ(ws.Boxes()[0].flags, ui::kMbOk | ui::kMbIconInformation);
        EXPECT_EQ(ws.Boxes()[0].owner, ws.Dialog(129));
    });
    s.Run();
    EXPECT_EQ(s.medium.read("DirectX\\started.txt").empty(), false);
}

}  // namespace
}  // namespace flow

namespace flow {
namespace {

TEST(GameStartFlow, TheInstalledGameStartsAndTheSetupCloses) {
    SetupRun s;
    s.Start();
    std::filesystem::create_directories(s.medium.host("Installed Game"));
    std::filesystem::copy_file(RECORD_START, s.medium.host("Installed Game\\Game.exe"));
    ASSERT_TRUE(install::RecordInstallFolder(*s.context, s.medium.path("Installed Game")));
    s.Then([&](HeadlessWindowSystem&) { s.Click(Welcome::StartGame); });
    EXPECT_EQ(s.Run(), 1);
    EXPECT_TRUE(s.ws.Boxes().empty());
    for (int i = 0; i < 100 && s.medium.read("Installed Game\\started.txt").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(std::filesystem::path(std::u8string(std::u8string_view(
                  reinterpret_cast<const char8_t*>(s.medium.read("Installed Game\\started.txt").c_str())))),
              s.medium.host("Installed Game"));
}

TEST(GameStartFlow, AGameThatWillNotStartKeepsTheSetupOpen) {
    for (bool emptyRecord : {false, true}) {
        SetupRun s;
        s.Start();
        if (emptyRecord)
            ASSERT_TRUE(os::SystemRegistry().CreateKey(s.context->registryKeyPath));
        else
            ASSERT_TRUE(install::RecordInstallFolder(*s.context, s.medium.path("nowhere")));
        s.Then([&](HeadlessWindowSystem&) { s.Click(Welcome::StartGame); });
        s.Then([&](HeadlessWindowSystem& ws) {
            ASSERT_EQ(ws.Boxes().size(), 1u);
            EXPECT_EQ(ws.Boxes()[0].text, Sj(SJ("ｹﾞｰﾑの実行に失敗しました！")));
            EXPECT_EQ(ws.Boxes()[0].caption, ws.GetCaption(ws.MainWindow()));
            EXPECT_EQ(ws.Boxes()[0].flags, ui::kMbOk | ui::kMbIconError);
            EXPECT_TRUE(s.Visible(201));
        });
        EXPECT_EQ(s.Run(), ui::headless::kPlayerDone);
    }
}

}  // namespace
}  // namespace flow

namespace flow {
namespace {

// Answers the direct start as told, and starts for real what it lets start, the consent given
// or refused.
struct ConsentingProcesses : os::Processes {
    ConsentingProcesses(Outcome answer, bool consent) : answer(answer), consent(consent) {}
    Outcome Start(const std::string& exe, const std::string& folder) override {
        starts.push_back({exe, folder});
        return answer == Outcome::Started ? os::SystemProcesses().Start(exe, folder) : answer;
    }
    bool StartWithConsent(const std::string& exe, const std::string& folder) override {
        consents.push_back({exe, folder});
        return consent && os::SystemProcesses().Start(exe, folder) == Outcome::Started;
    }
    Outcome answer;
    bool consent;
    std::vector<std::pair<std::string, std::string>> starts, consents;
};

// The game and DirectX's setup, answered as started, as wanting an administrator with the consent
// given or refused, and as failed: only the second goes to the shell, with the same program and
// folder, and only a start that did not happen shows the caller's box.
TEST(LaunchFlow, AProgramThatWantsAnAdministratorStartsWithThePlayersConsent) {
    using Outcome = os::Processes::Outcome;
    for (bool game : {false, true}) {
        for (auto [answer, consent] : {std::pair{Outcome::Started, false},
                                       {Outcome::NeedsElevation, true},
                                       {Outcome::NeedsElevation, false},
                                       {Outcome::Failed, true}}) {
            SCOPED_TRACE(testing::Message()
                         << "game " << game << ", answer " << int(answer) << ", consent " << consent);
            ConsentingProcesses processes(answer, consent);
            os::Services services{os::SystemFileSystem(), os::SystemBitmapLoader(), os::SystemRegistry(), processes,
                                  os::SystemShell()};
            SetupRun s;
            s.services = &services;
            const std::string folder = game ? "Installed Game" : "DirectX";
            std::filesystem::create_directories(s.medium.host(folder));
            std::filesystem::copy_file(RECORD_START, s.medium.host(folder + (game ? "\\Game.exe" : "\\dxsetup.exe")));
            s.Start();
            if (game) {
                ASSERT_TRUE(install::RecordInstallFolder(*s.context, s.medium.path(folder)));
            }
            const bool started = answer == Outcome::Started || (answer == Outcome::NeedsElevation && consent);
            s.Then([&](HeadlessWindowSystem&) { s.Click(game ? Welcome::StartGame : Welcome::DirectXSetup); });
            EXPECT_EQ(s.Run(), game && started ? 1 : ui::headless::kPlayerDone);
            EXPECT_EQ(processes.starts.size(), 1u);
            const std::size_t asked = answer == Outcome::NeedsElevation ? 1 : 0;
            EXPECT_EQ(processes.consents, decltype(processes.consents)(asked, processes.starts.at(0)));
            EXPECT_EQ(s.ws.Boxes().size(), started ? 0u : 1u);
            for (int i = 0; started && i < 100 && !s.medium.exists(folder + "\\started.txt"); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_EQ(s.medium.exists(folder + "\\started.txt"), started);
        }
    }
}

}  // namespace
}  // namespace flow
