// Installs from the pages to the files, the profile, the record and the shortcuts.
#include <cstdio>
#include <fstream>

#include "flow/flow_support.h"
#include "forwarding_file_system.h"
#include "install/file_status.h"
#include "install/installed_record.h"
#include "os/profile.h"
#include "support/system_text.h"

namespace flow {
namespace {

using ui::FolderChoice;

// Everything an install leaves, looked at from outside.
struct Outcome {
    explicit Outcome(SetupRun& s, const std::string& installFolder) : s_(s), folder_(installFolder) {}
    std::string profile(const std::string& key) {
        return os::ReadProfileText(os::SystemFileSystem(), folder_ + "\\" + kTitle + ".ini", "PATH", key, "?", 512);
    }
    SetupRun& s_;
    std::string folder_;
};

class InstallFlow : public ::testing::Test {
protected:
    InstallFlow() {
        s.WriteFiles();
        std::filesystem::create_directories(target.host("Games"));
        ShortcutPlaces().Clear();
    }
    std::string root() { return target.path("Games"); }
    std::string folder() { return root() + "\\" + kTitle; }
    std::string installed(const std::string& rel) { return "Games\\" + kTitle + "\\" + rel; }

    SetupRun s;
    testing_support::TempFolder target;
};

TEST_F(InstallFlow, AFullInstallEndToEnd) {
    // A read-only source with an old time stamp, as on a CD-ROM.
    std::filesystem::last_write_time(s.medium.host("Data\\a.pak"),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    std::filesystem::permissions(s.medium.host("Data\\a.pak"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    s.Start();
    ChooseAndInstall(s, root());
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().size(), 2u);
        EXPECT_EQ(ws.Boxes()[0].text, Sj(SJ("指定されたフォルダは存在しません。フォルダを作成しますか？")));
        EXPECT_EQ(ws.Boxes()[0].caption, Sj(SJ("インストールフォルダの作成")));
        EXPECT_EQ(ws.Boxes()[0].flags, ui::kMbYesNo | ui::kMbIconQuestion);
        EXPECT_EQ(ws.Boxes()[1].text, Sj(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！")));
        EXPECT_EQ(ws.Boxes()[1].caption, ws.GetCaption(ws.MainWindow()));
        EXPECT_EQ(ws.Boxes()[1].flags, ui::kMbOk | ui::kMbIconInformation);
        ASSERT_GE(ws.Choosers().size(), 2u);
        EXPECT_EQ(ws.Choosers()[1].title, Sj(SJ("【『")) + kTitle + Sj(SJ("』を挿入したドライブを指定してください】")));
        EXPECT_EQ(ws.Choosers()[1].initialPath, s.medium.path().substr(0, 3));
        EXPECT_TRUE(s.Visible(201));
        EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｱﾝｲﾝｽﾄｰﾙ")));
        EXPECT_TRUE(s.Enabled(Welcome::StartGame));
        EXPECT_EQ(s.Progress(Copying::OverallBar).pos, 2u + 3u + 1u);  // folders + files + the end
        EXPECT_EQ(s.Progress(Copying::OverallBar).max, 6u);
    });
    s.Run();

    for (const char* rel : {"Game.exe", "Data\\a.pak", "Voice\\v.pak"}) {
        EXPECT_TRUE(target.read(installed(rel)) == s.medium.read(rel)) << rel;
        install::FileStatus from, to;
        ASSERT_TRUE(install::QueryFileStatus(os::SystemFileSystem(), s.medium.path(rel), from));
        ASSERT_TRUE(install::QueryFileStatus(os::SystemFileSystem(), target.path(installed(rel)), to));
        EXPECT_EQ(to.writeTime, from.writeTime) << rel;
        EXPECT_EQ(to.attributes & 0x01, 0) << rel;  // read-only cleared
    }
    Outcome o(s, folder());
    EXPECT_EQ(o.profile("SetupType"), "0");
    EXPECT_EQ(o.profile("Current"), folder() + "\\");
    EXPECT_EQ(o.profile("CDDrive"), s.medium.path());
    EXPECT_EQ(install::InstalledFolder(*s.context), folder());
    std::string programs, desktop;
    ASSERT_TRUE(os::SystemShell().ProgramsFolder(programs));
    ASSERT_TRUE(os::SystemShell().DesktopFolder(desktop));
    const std::string ext = os::SystemShell().ShortcutExtension();
    for (std::string link :
         {programs + "\\" + kTitle + "\\" + Sj(SJ("ゲームスタート")) + ext,
          programs + "\\" + kTitle + "\\" + Sj(SJ("ヘルプの実行")) + ext, desktop + "\\" + kTitle + ext}) {
        std::string bytes;
        EXPECT_TRUE(os::ReadWholeFile(os::SystemFileSystem(), link, bytes)) << link;
    }
#ifndef _WIN32
    std::string entry;
    os::ReadWholeFile(os::SystemFileSystem(), desktop + "\\" + kTitle + ext, entry);
    EXPECT_NE(entry.find("Exec=\"" + target.host(installed("Game.exe")).string() + "\""), std::string::npos) << entry;
    EXPECT_NE(entry.find("Path=" + target.host("Games\\" + kTitle).string()), std::string::npos) << entry;
#endif
}

// A medium in a folder CP932 cannot spell: found at start-up and through the chooser, every file
// copied, and the profile names it in the carried form the setup read it in.
TEST(InstallFlowFromAnywhere, AMediumInAFolderCp932CannotSpell) {
    SetupRun s(u8" Caf\u00E9 \u00A5 \uD55C\uAD6D");
    s.WriteFiles();
    GamesFolder games;
    ShortcutPlaces().Clear();
    s.Start();
    EXPECT_FALSE(support::SpellsInCp932(s.context->sourceFolder));
    EXPECT_EQ(s.context->sourceFolder, s.medium.path());
    ChooseAndInstall(s, games.root);
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().size(), 2u);
        EXPECT_EQ(ws.Boxes()[1].text, Sj(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！")));
    });
    s.Run();
    for (const char* rel : {"Game.exe", "Data\\a.pak", "Voice\\v.pak"})
        EXPECT_TRUE(games.target.read("Games\\" + kTitle + "\\" + rel) == s.medium.read(rel)) << rel;
    Outcome o(s, games.folder);
    EXPECT_EQ(o.profile("Current"), games.folder + "\\");
    EXPECT_EQ(o.profile("CDDrive"), s.medium.path());
    ShortcutPlaces().Clear();
}

TEST_F(InstallFlow, AVoicelessInstallWithoutShortcuts) {
    s.Start();
    std::filesystem::create_directories(target.host("Games\\" + kTitle));  // an existing folder: no question
    ChooseAndInstall(s, root(), {Settings::VoicelessInstall, Settings::StartMenu, Settings::DesktopShortcut});
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().size(), 1u);
        EXPECT_EQ(ws.Boxes()[0].text, Sj(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！")));
    });
    s.Run();
    EXPECT_TRUE(target.exists(installed("Game.exe")));
    EXPECT_TRUE(target.exists(installed("Data\\a.pak")));
    EXPECT_FALSE(target.exists(installed("Voice\\v.pak")));
    EXPECT_TRUE(target.exists(installed("Voice")));  // every folder is made
    EXPECT_EQ(Outcome(s, folder()).profile("SetupType"), "128");
    std::string desktop;
    os::SystemShell().DesktopFolder(desktop);
    std::string bytes;
    EXPECT_FALSE(os::ReadWholeFile(os::SystemFileSystem(),
                                   desktop + "\\" + kTitle + os::SystemShell().ShortcutExtension(), bytes));
}

TEST_F(InstallFlow, CancelAnsweredNoContinuesAndYesTakesItBack) {
    s.WriteFiles(3 * 1048576 + 5);
    s.Start();
    ChooseAndInstall(s, root(), {Settings::StartMenu, Settings::DesktopShortcut});
    std::uint32_t stoppedAt = 0;
    std::size_t questions = 0;
    s.ws.AddBusyStep([&](HeadlessWindowSystem& ws) {
        if (s.Text(Copying::Status) != Sj(SJ("コピー中...　Voice\\v.pak")) || s.Progress(Copying::FileBar).pos < 1)
            return false;
        s.Click(Copying::Cancel);  // the job stops at its next look, before another chunk
        ws.QueueAnswer(ui::kIdNo);
        stoppedAt = s.Progress(Copying::FileBar).pos;
        EXPECT_EQ(s.Progress(Copying::FileBar).max, 3u);
        return true;
    });
    // No player act in between: after No the copy goes on by itself, from where it stopped.
    s.ws.AddBusyStep([&](HeadlessWindowSystem& ws) {
        if (s.Progress(Copying::FileBar).pos <= stoppedAt) return false;
        EXPECT_EQ(s.Progress(Copying::FileBar).pos, stoppedAt + 1);
        EXPECT_EQ(ws.Boxes().back().text, Sj(SJ("ｾｯﾄｱｯﾌﾟをｷｬﾝｾﾙしますか？")));
        EXPECT_EQ(ws.Boxes().back().flags, ui::kMbYesNo | ui::kMbIconWarning);
        EXPECT_TRUE(s.Visible(203));
        EXPECT_TRUE(target.exists(installed("Voice\\v.pak")));
        s.Click(Copying::Cancel);
        ws.QueueAnswer(ui::kIdYes);
        questions = ws.Boxes().size() + 1;
        return true;
    });
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().size(), questions);  // both presses happened before the player's next act
        EXPECT_EQ(s.Text(Copying::Heading), Sj(SJ("ｲﾝｽﾄｰﾙﾌｧｲﾙを削除中...")));
        EXPECT_FALSE(s.Enabled(Copying::Cancel));
        EXPECT_TRUE(s.Visible(201));
        EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｲﾝｽﾄｰﾙ")));
    });
    s.Run();
    EXPECT_FALSE(target.exists("Games\\" + kTitle));  // files, folders and the install folder are gone
    EXPECT_TRUE(target.exists("Games"));
    EXPECT_EQ(install::InstalledFolder(*s.context), "");
}

TEST_F(InstallFlow, AFailureInTheThirdFileIsRolledBack) {
    testing_support::FailingWrites failing(os::SystemFileSystem(), 3);
    os::Services services{failing, os::SystemBitmapLoader(), os::SystemRegistry(), os::SystemProcesses(),
                          os::SystemShell()};
    s.services = &services;
    s.Start();
    ChooseAndInstall(s, root());
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().back().text, Sj(SJ("ｲﾝｽﾄｰﾙ中にｴﾗｰが発生しました！")));
        EXPECT_EQ(ws.Boxes().back().flags, ui::kMbOk | ui::kMbIconError);
        EXPECT_TRUE(s.Visible(201));
    });
    s.Run();
    EXPECT_FALSE(target.exists("Games\\" + kTitle));
}

}  // namespace
}  // namespace flow

namespace flow {
namespace {

TEST_F(InstallFlow, ClosingTheWindowDuringTheCopyTakesTheInstallBack) {
    s.WriteFiles(3 * 1048576);
    s.Start();
    ChooseAndInstall(s, root());
    s.ws.AddBusyStep([&](HeadlessWindowSystem& ws) {
        if (s.Progress(Copying::FileBar).pos < 1 || s.Text(Copying::Status).find("v.pak") == std::string::npos)
            return false;
        ws.PostClose(ws.MainWindow());
        return true;
    });
    EXPECT_EQ(s.Run(), 1);
    EXPECT_EQ(s.ws.MainWindow(), nullptr);
    EXPECT_EQ(s.ws.Boxes().size(), 1u);  // the folder question only: no cancel question, no success
    EXPECT_FALSE(target.exists("Games\\" + kTitle));
    EXPECT_EQ(install::InstalledFolder(*s.context), "");
}

}  // namespace
}  // namespace flow

namespace flow {
namespace {

// The main window closed at every queue drain of an install, the first while the job is being
// prepared, the last after the record is written: the install is then either whole (record,
// files, profile, shortcuts) or gone without a trace, never a record of a game that is gone.
TEST(InstallClose, AtEveryDrainTheInstallIsWholeOrGone) {
    int points = 0, whole = 0, gone = 0;
    for (int closeAt = 1;; ++closeAt) {
        SetupRun s;
        s.WriteFiles(3000);
        GamesFolder games;
        ShortcutPlaces places;
        places.Clear();
        s.Start();
        ChooseAndInstall(s, games.root);
        int drains = 0;
        s.ws.AddBusyStep([&](HeadlessWindowSystem& ws) {
            if (s.Visible(201) || s.Visible(202)) return false;  // not yet in the install
            if (++drains < closeAt) return false;
            ws.PostClose(ws.MainWindow());
            return true;
        });
        const int exitCode = s.Run();
        if (drains < closeAt) break;  // the install ended before this drain: every one was tried
        ++points;
        EXPECT_EQ(exitCode, 1) << closeAt;
        EXPECT_EQ(s.ws.MainWindow(), nullptr);
        for (const auto& box : s.ws.Boxes()) EXPECT_NE(box.text, Sj(SJ("ｾｯﾄｱｯﾌﾟをｷｬﾝｾﾙしますか？"))) << closeAt;
        if (install::InstalledFolder(*s.context) == games.folder) {
            ++whole;
            for (const char* rel : {"Game.exe", "Data\\a.pak", "Voice\\v.pak"})
                EXPECT_TRUE(games.target.read("Games\\" + kTitle + "\\" + rel) == s.medium.read(rel)) << closeAt << rel;
            EXPECT_TRUE(games.target.exists("Games\\" + kTitle + "\\" + kTitle + ".ini")) << closeAt;
            for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(places.Exists(i)) << closeAt << " shortcut " << i;
        } else {
            ++gone;
            EXPECT_EQ(install::InstalledFolder(*s.context), "") << closeAt;
            EXPECT_FALSE(games.target.exists("Games\\" + kTitle)) << closeAt;
            for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(places.Exists(i)) << closeAt << " shortcut " << i;
        }
        os::SystemRegistry().DeleteKey(s.context->registryKeyPath);
        places.Clear();
    }
    std::printf("install closed at %d drains: %d whole, %d gone\n", points, whole, gone);
    EXPECT_GE(points, 8);
    EXPECT_GE(whole, 1);  // a close after the record is written
    EXPECT_GE(gone, 1);
}

}  // namespace
}  // namespace flow
