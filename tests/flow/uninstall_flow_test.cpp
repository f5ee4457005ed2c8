// Uninstalls and install rollbacks, watched through every removal the setup asks for.
#include <algorithm>
#include <set>

#include "flow/flow_support.h"
#include "forwarding_file_system.h"
#include "install/game_profile.h"
#include "install/installed_record.h"

namespace flow {
namespace {

using testing_support::RecordingRegistry;
using testing_support::RecordingRemovals;

class UninstallFlow : public ::testing::Test {
protected:
    UninstallFlow() {
        s.services = &services;
        s.WriteFiles(3000);
        std::filesystem::create_directories(target.host("Games"));
        places.Clear();
    }
    std::string folder() { return target.path("Games\\" + kTitle); }  // no trailing backslash
    std::string in(const std::string& rel) { return folder() + "\\" + rel; }
    bool installed(const std::string& rel) { return target.exists("Games\\" + kTitle + "\\" + rel); }
    void WriteSaves(const std::vector<std::string>& names) {
        for (const auto& n : names) target.write("Games\\" + kTitle + "\\Save\\" + n, "save");
    }

    void Install(const std::vector<Settings>& clicks = {}) {
        ChooseAndInstall(s, target.path("Games"), clicks);
        s.Then([this](HeadlessWindowSystem& ws) {
            ASSERT_EQ(ws.Boxes().back().text, Sj(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！")));
            files.removals.clear();
        });
    }
    // Welcome → uninstall settings → Uninstall, and the job's first run.
    void Uninstall(bool keepSaveFiles) {
        s.Then([this](HeadlessWindowSystem&) { s.Click(Welcome::InstallOrUninstall); });
        s.Then([this, keepSaveFiles](HeadlessWindowSystem&) {
            if (keepSaveFiles) s.Click(UninstallSettings::KeepSaveFiles);
            s.Click(UninstallSettings::Uninstall);
        });
    }
    void ExpectUninstalledBox() {
        s.Then([this](HeadlessWindowSystem& ws) {
            ASSERT_FALSE(ws.Boxes().empty());
            EXPECT_EQ(ws.Boxes().back().text, Sj(SJ("ｱﾝｲﾝｽﾄｰﾙが正常に終了しました！")));
            EXPECT_EQ(ws.Boxes().back().flags, ui::kMbOk | ui::kMbIconInformation);
            EXPECT_TRUE(s.Visible(201));
            EXPECT_FALSE(s.Visible(205));
            EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｲﾝｽﾄｰﾙ")));
            EXPECT_FALSE(s.Enabled(Welcome::StartGame));
        });
    }
    HeadlessWindowSystem::Progress Bar() { return s.Progress(Uninstalling::OverallBar); }

    RecordingRemovals files{os::SystemFileSystem()};
    RecordingRegistry registry{os::SystemRegistry()};
    os::Services services{files, os::SystemBitmapLoader(), registry, os::SystemProcesses(), os::SystemShell()};
    SetupRun s;
    testing_support::TempFolder target;
    ShortcutPlaces places;
};

TEST_F(UninstallFlow, EveryRemovalInItsPlaceAndOrder) {
    s.Start();
    Install();
    s.Then([this](HeadlessWindowSystem&) {
        WriteSaves({"env.ini", "SAVE0001.DAT", "QSAVE0010.BMP", "ASAVE0003.LOG", "unread.ini"});
    });
    Uninstall(false);
    ExpectUninstalledBox();
    s.Run();

    std::vector<std::string> expected;
    for (std::size_t i = 0; i < 2; ++i)
        expected.insert(expected.end(), {"file " + places.links[i], "folder " + places.startMenuFolder});
    expected.push_back("file " + places.links[2]);
    expected.push_back("file " + in("Save\\env.ini"));
    for (const auto& [stem, slots] : {std::pair<std::string, int>{"SAVE", 3}, {"QSAVE", 10}, {"ASAVE", 10}})
        for (int slot = 1; slot <= slots; ++slot)
            for (const char* ext : {".DAT", ".LOG", ".BMP"}) {
                char number[16];
                std::snprintf(number, sizeof number, "%04d", slot);
                expected.push_back("file " + in("Save\\" + stem + number + ext));
            }
    expected.push_back("file " + in("Save\\unread.ini"));
    for (const char* rel : {"Game.exe", "Data\\a.pak", "Voice\\v.pak"}) expected.push_back("file " + in(rel));
    expected.insert(expected.end(), {"folder " + in("Data"), "folder " + in("Voice"), "folder " + folder()});
    EXPECT_EQ(files.removals, expected);
    EXPECT_EQ(registry.deleted, std::vector<std::string>{s.context->registryKeyPath});
    // Two shortcut steps make five removals and the registry step one more step: the range
    // counts steps, and the bar ends on the last.
    EXPECT_EQ(Bar().max, expected.size() - 5 + 2 + 1);
    EXPECT_EQ(Bar().pos, Bar().max);

    // The game's profile and the Save folder are no files of the description: they stay, and so
    // does the folder that holds them.
    EXPECT_FALSE(installed("Game.exe"));
    EXPECT_FALSE(installed("Data"));
    EXPECT_FALSE(installed("Save\\env.ini"));
    EXPECT_TRUE(installed(kTitle + ".ini"));
    for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(places.Exists(i)) << i;
    EXPECT_FALSE(os::SystemRegistry().KeyExists(s.context->registryKeyPath));
}

TEST_F(UninstallFlow, TheStepCountFollowsSlotsSavesAndType) {
    for (int slots : {0, 3, -4})
        for (bool keep : {false, true})
            for (int type : {0, 1}) {
                SetupRun run;
                run.services = &services;
                run.description.saveSlotCount = slots;
                run.Start();
                ASSERT_TRUE(install::RecordInstallFolder(*run.context, folder()));
                std::filesystem::create_directories(target.host("Games\\" + kTitle));
                ASSERT_TRUE(install::WriteGameProfile(*run.context, type, folder(), run.medium.path()));
                run.Then([&run](HeadlessWindowSystem&) { run.Click(Welcome::InstallOrUninstall); });
                run.Then([&run, keep](HeadlessWindowSystem&) {
                    if (keep) run.Click(UninstallSettings::KeepSaveFiles);
                    run.Click(UninstallSettings::Uninstall);
                });
                run.Run();
                const std::uint32_t entries = type == 1 ? 3 : 2, folders = 2;
                const std::uint32_t saves = keep ? 0 : 1 + 3 * std::max(slots, 0) + 60;
                EXPECT_EQ(run.Progress(Uninstalling::OverallBar).max, 2 + saves + 1 + entries + folders + 2)
                    << slots << " " << keep << " " << type;
            }
}

TEST_F(UninstallFlow, KeptSavesLoseOnlyTheUnreadList) {
    s.Start();
    Install();
    s.Then([this](HeadlessWindowSystem&) {
        WriteSaves({"env.ini", "SAVE0003.DAT", "QSAVE0001.LOG", "ASAVE0010.BMP", "unread.ini"});
    });
    Uninstall(true);
    ExpectUninstalledBox();
    s.Run();
    for (const char* kept : {"env.ini", "SAVE0003.DAT", "QSAVE0001.LOG", "ASAVE0010.BMP"})
        EXPECT_TRUE(installed(std::string("Save\\") + kept)) << kept;
    EXPECT_FALSE(installed("Save\\unread.ini"));
    EXPECT_FALSE(installed("Game.exe"));
    EXPECT_FALSE(installed("Voice"));
    for (const auto& r : files.removals) EXPECT_EQ(r.find("SAVE"), std::string::npos) << r;
    EXPECT_EQ(Bar().max, 2u + 1 + 3 + 2 + 2);
}

TEST_F(UninstallFlow, TheRecordedTypeChoosesTheFiles) {
    for (int type : {0, 1}) {  // profile "SetupType" 128, then 0
        files.removals.clear();
        SetupRun run;
        run.services = &services;
        run.Start();
        ASSERT_TRUE(install::RecordInstallFolder(*run.context, folder()));
        std::filesystem::create_directories(target.host("Games\\" + kTitle));
        ASSERT_TRUE(install::WriteGameProfile(*run.context, type, folder(), run.medium.path()));
        target.write("Games\\" + kTitle + "\\Voice\\v.pak", "voice");
        run.Then([&run](HeadlessWindowSystem&) { run.Click(Welcome::InstallOrUninstall); });
        run.Then([&run](HeadlessWindowSystem&) { run.Click(UninstallSettings::Uninstall); });
        run.Run();
        bool voiceGone = std::find(files.removals.begin(), files.removals.end(), "file " + in("Voice\\v.pak")) !=
                         files.removals.end();
        EXPECT_EQ(voiceGone, type == 1);
        EXPECT_EQ(installed("Voice\\v.pak"), type == 0);  // a voice-less uninstall leaves a file it never wrote
    }
}

TEST_F(UninstallFlow, CancelAnsweredNoResumesAndYesLeavesWhatIsLeft) {
    s.Start();
    Install();
    std::uint32_t stoppedAt = 0;
    std::size_t removedAtStop = 0, questions = 0;
    s.ws.AddBusyStep([&](HeadlessWindowSystem& ws) {
        if (!s.Visible(205) || Bar().pos < 20) return false;
        s.Click(Uninstalling::Cancel);  // the job stops at its next look, before another removal
        ws.QueueAnswer(ui::kIdNo);
        stoppedAt = Bar().pos;
        removedAtStop = files.removals.size();
        EXPECT_TRUE(installed("Game.exe"));
        return true;
    });
    // No player act in between: after No the job goes on by itself.
    s.ws.AddBusyStep([&](HeadlessWindowSystem& ws) {
        if (Bar().pos <= stoppedAt) return false;
        EXPECT_EQ(ws.Boxes().back().text,
                  Sj(SJ("ｱﾝｲﾝｽﾄｰﾙをｷｬﾝｾﾙさせると正しくﾃﾞｰﾀが削除されません。ｱﾝｲﾝｽﾄｰﾙをｷｬﾝｾﾙしますか？")));
        EXPECT_EQ(ws.Boxes().back().flags, ui::kMbYesNo | ui::kMbIconWarning);
        EXPECT_TRUE(s.Visible(205));
        s.Click(Uninstalling::Cancel);
        ws.QueueAnswer(ui::kIdYes);
        questions = ws.Boxes().size() + 1;
        return true;
    });
    Uninstall(false);
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().size(), questions);  // both presses happened before the player's next act
        EXPECT_TRUE(s.Visible(201));
        EXPECT_FALSE(s.Visible(205));
        EXPECT_EQ(Bar().pos, stoppedAt + 1);  // on from where it stopped, one removal further
        EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｱﾝｲﾝｽﾄｰﾙ")));  // the key goes last, so it is still there
    });
    s.Run();
    std::vector<std::string> r;
    for (const auto& removal : files.removals)
        if (removal.rfind("file ", 0) == 0) r.push_back(removal);
    EXPECT_EQ(std::set<std::string>(r.begin(), r.end()).size(), r.size());  // no file removed twice
    EXPECT_GT(files.removals.size(), removedAtStop);
    EXPECT_TRUE(installed("Game.exe"));  // nothing after the stop, nothing restored before it
    EXPECT_FALSE(places.Exists(0));
    EXPECT_TRUE(registry.deleted.empty());
}

TEST_F(UninstallFlow, ANestedFolderListedAfterItsParentKeepsTheParent) {
    s.description.folders = {"Data", "Data\\Sub"};
    s.description.files.back()->folderIndex = 1;  // v.pak into Data\Sub
    s.medium.write("Data\\Sub\\v.pak", "v");
    s.Start();
    Install();
    Uninstall(false);
    ExpectUninstalledBox();
    s.Run();
    EXPECT_FALSE(installed("Data\\Sub"));
    EXPECT_TRUE(installed("Data"));                                            // tried while Sub was still in it
    EXPECT_FALSE(os::SystemRegistry().KeyExists(s.context->registryKeyPath));  // the key goes all the same
}

TEST_F(UninstallFlow, AForeignFileKeepsTheStartMenuFolder) {
    s.Start();
    Install();
    s.Then([this](HeadlessWindowSystem&) {
        os::WriteWholeFile(os::SystemFileSystem(), places.startMenuFolder + "\\readme.txt", "mine");
    });
    Uninstall(false);
    ExpectUninstalledBox();
    s.Run();
    EXPECT_FALSE(places.Exists(0));
    EXPECT_FALSE(places.Exists(1));
    std::string bytes;
    EXPECT_TRUE(os::ReadWholeFile(os::SystemFileSystem(), places.startMenuFolder + "\\readme.txt", bytes));
    os::SystemFileSystem().RemoveFile(places.startMenuFolder + "\\readme.txt");
    places.Clear();
}

TEST_F(UninstallFlow, InstallUninstallAndInstallAgain) {
    s.Start();
    Install();
    s.Then([this](HeadlessWindowSystem&) {
        EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｱﾝｲﾝｽﾄｰﾙ")));
        EXPECT_TRUE(s.Enabled(Welcome::StartGame));
    });
    Uninstall(false);
    ExpectUninstalledBox();
    Install();
    s.Then([this](HeadlessWindowSystem& ws) {
        EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｱﾝｲﾝｽﾄｰﾙ")));
        EXPECT_TRUE(s.Enabled(Welcome::StartGame));
        EXPECT_EQ(ws.Boxes().size(), 4u);  // folder question, success; success; success
    });
    s.Run();
    EXPECT_TRUE(target.read("Games\\" + kTitle + "\\Voice\\v.pak") == s.medium.read("Voice\\v.pak"));
    EXPECT_EQ(install::InstalledFolder(*s.context), folder());
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(places.Exists(i)) << i;
}

// A record that names no usable folder: nothing can be planned, so nothing is removed; the record
// goes so that an install can write a sound one.
TEST_F(UninstallFlow, AnUnusableRecordRemovesNothing) {
    enum Fault { NoInstallValue, RelativeFolder };
    for (Fault fault : {NoInstallValue, RelativeFolder}) {
        files.removals.clear();
        registry.deleted.clear();
        SetupRun run;
        run.services = &services;
        run.Start();
        target.write("Games\\" + kTitle + "\\Game.exe", "game");
        ASSERT_TRUE(install::WriteGameProfile(*run.context, 1, folder(), run.medium.path()));
        auto& reg = os::SystemRegistry();
        const std::string& key = run.context->registryKeyPath;
        if (fault == NoInstallValue)
            ASSERT_TRUE(reg.CreateKey(key));
        else
            ASSERT_TRUE(install::RecordInstallFolder(*run.context, "Games"));
        run.Then([&run](HeadlessWindowSystem&) { run.Click(Welcome::InstallOrUninstall); });
        run.Then([&run](HeadlessWindowSystem&) { run.Click(UninstallSettings::Uninstall); });
        run.Then([&run](HeadlessWindowSystem& ws) {
            ASSERT_EQ(ws.Boxes().size(), 1u);
            EXPECT_EQ(ws.Boxes()[0].text,
                      Sj(SJ("ｲﾝｽﾄｰﾙ情報が読み取れないため、ｱﾝｲﾝｽﾄｰﾙできません。もう一度ｲﾝｽﾄｰﾙしてください。")));
            EXPECT_EQ(ws.Boxes()[0].flags, ui::kMbOk | ui::kMbIconError);
            EXPECT_TRUE(run.Visible(201));
            EXPECT_EQ(run.Text(Welcome::InstallOrUninstall), Sj(SJ("ｲﾝｽﾄｰﾙ")));  // the install is offered again
            run.Click(Welcome::InstallOrUninstall);
        });
        run.Then([&run](HeadlessWindowSystem&) { EXPECT_TRUE(run.Visible(202)); });
        run.Run();
        EXPECT_TRUE(files.removals.empty()) << fault;
        EXPECT_EQ(registry.deleted, std::vector<std::string>{key}) << fault;
        EXPECT_TRUE(installed("Game.exe")) << fault;
        reg.DeleteKey(key);
    }
}

// A profile that lost "SetupType" while the record still names the folder: the files of both
// install types go, each once, and nothing outside the folder but the title's shortcuts.
TEST_F(UninstallFlow, AProfileWithoutItsTypeRemovesTheFilesOfBothTypes) {
    const std::string profile = "Games\\" + kTitle + "\\" + kTitle + ".ini";
    const std::vector<std::pair<const char*, const char*>> profiles = {
        {"no profile", nullptr},
        {"empty value", "[PATH]\r\nSetupType=\r\nCurrent=x\r\n"},
        {"no key", "[PATH]\r\nCurrent=x\r\n"},
        {"other section", "[OTHER]\r\nSetupType=0\r\n"},
        {"empty file", ""},
    };
    for (const auto& [what, bytes] : profiles)
        for (bool voice : {false, true}) {
            const std::string label = std::string(what) + (voice ? ", full" : ", voice-less");
            files.removals.clear();
            registry.deleted.clear();
            SetupRun run;
            run.services = &services;
            run.Start();
            for (const char* rel : {"Game.exe", "Data\\a.pak", "mine.txt", "Save\\SAVE0001.DAT"})
                target.write("Games\\" + kTitle + "\\" + rel, "x");
            if (voice) target.write("Games\\" + kTitle + "\\Voice\\v.pak", "x");
            if (bytes) target.write(profile, bytes);
            ASSERT_TRUE(install::RecordInstallFolder(*run.context, folder()));
            run.Then([&run](HeadlessWindowSystem&) { run.Click(Welcome::InstallOrUninstall); });
            run.Then([&run](HeadlessWindowSystem&) { run.Click(UninstallSettings::Uninstall); });
            run.Run();
            ASSERT_EQ(run.ws.Boxes().size(), 1u) << label;
            EXPECT_EQ(run.ws.Boxes()[0].text, Sj(SJ("ｱﾝｲﾝｽﾄｰﾙが正常に終了しました！"))) << label;
            EXPECT_EQ(registry.deleted, std::vector<std::string>{run.context->registryKeyPath}) << label;
            std::vector<std::string> entries;
            for (const std::string& r : files.removals) {
                const bool inside = r.find(folder()) == r.find(' ') + 1;
                const bool shortcut =
                    r.find(places.startMenuFolder) == r.find(' ') + 1 || r == "file " + places.links[2];
                EXPECT_TRUE(inside || shortcut) << label << ": " << r;
                if (inside && r.rfind("file ", 0) == 0 && r.find("\\Save\\") == std::string::npos) entries.push_back(r);
            }
            EXPECT_EQ(entries, (std::vector<std::string>{"file " + in("Game.exe"), "file " + in("Data\\a.pak"),
                                                         "file " + in("Voice\\v.pak")}))
                << label;
            for (const char* rel : {"Game.exe", "Data", "Voice", "Save\\SAVE0001.DAT"})
                EXPECT_FALSE(installed(rel)) << label << rel;
            EXPECT_TRUE(installed("mine.txt")) << label;  // not the setup's: it stays, and the folder with it
            std::filesystem::remove_all(target.host("Games\\" + kTitle));
        }
}

TEST_F(UninstallFlow, ClosingTheWindowStopsTheUninstallWithoutAQuestion) {
    s.Start();
    Install();
    s.ws.AddBusyStep([&](HeadlessWindowSystem& ws) {
        if (!s.Visible(205) || Bar().pos < 10) return false;
        ws.PostClose(ws.MainWindow());
        return true;
    });
    Uninstall(false);
    EXPECT_EQ(s.Run(), 1);
    EXPECT_EQ(s.ws.Boxes().size(), 2u);  // the install's two: no question, no success
    EXPECT_TRUE(installed("Game.exe"));
}

// The rollback walks the undo log backwards.
TEST_F(UninstallFlow, AFailureInTheThirdFileRollsBackNewestFirst) {
    testing_support::FailingWrites failing(os::SystemFileSystem(), 3);
    RecordingRemovals recording(failing);
    os::Services faulty{recording, os::SystemBitmapLoader(), registry, os::SystemProcesses(), os::SystemShell()};
    s.services = &faulty;
    s.Start();
    ChooseAndInstall(s, target.path("Games"));
    s.Then(
        [&](HeadlessWindowSystem& ws) { EXPECT_EQ(ws.Boxes().back().text, Sj(SJ("ｲﾝｽﾄｰﾙ中にｴﾗｰが発生しました！"))); });
    s.Run();
    EXPECT_EQ(recording.removals, (std::vector<std::string>{"file " + in("Voice\\v.pak"), "file " + in("Data\\a.pak"),
                                                            "file " + in("Game.exe"), "folder " + in("Voice"),
                                                            "folder " + in("Data"), "folder " + folder()}));
    EXPECT_FALSE(target.exists("Games\\" + kTitle));
    EXPECT_TRUE(registry.deleted.empty());
}

TEST_F(UninstallFlow, ACancelledCopyTouchesNoShortcut) {
    // Shortcuts of an earlier install of the same title: the cancelled one never made them.
    os::SystemFileSystem().CreateFolder(places.startMenuFolder);
    for (std::size_t i = 0; i < 3; ++i) ASSERT_TRUE(os::WriteWholeFile(os::SystemFileSystem(), places.links[i], "old"));
    s.WriteFiles(3 * 1048576);
    s.Start();
    s.ws.AddBusyStep([&](HeadlessWindowSystem& ws) {
        if (s.Text(Copying::Status).find("v.pak") == std::string::npos) return false;
        s.Click(Copying::Cancel);
        ws.QueueAnswer(ui::kIdYes);
        return true;
    });
    ChooseAndInstall(s, target.path("Games"));
    s.Run();
    EXPECT_EQ(s.ws.Boxes().back().text, Sj(SJ("ｾｯﾄｱｯﾌﾟをｷｬﾝｾﾙしますか？")));
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(places.Exists(i)) << i;
    for (const auto& r : files.removals) EXPECT_EQ(r.find(folder()), r.find(' ') + 1) << r;  // all inside the install
    EXPECT_FALSE(target.exists("Games\\" + kTitle));
    places.Clear();
}

}  // namespace
}  // namespace flow

namespace flow {
namespace {

// Cancel pressed when no job looks any more (the install writing its record, the uninstall past
// its last removal) is taken by nobody; the next install and uninstall of the run ask nothing.
TEST_F(UninstallFlow, ACancelNoJobTookDoesNotStopTheNextJob) {
    s.Start();
    s.ws.AddBusyStep([this](HeadlessWindowSystem&) {
        if (install::InstalledFolder(*s.context).empty()) return false;
        s.Click(Copying::Cancel);
        return true;
    });
    s.ws.AddBusyStep([this](HeadlessWindowSystem&) {
        if (!s.Visible(205) || os::SystemRegistry().KeyExists(s.context->registryKeyPath)) return false;
        s.Click(Uninstalling::Cancel);
        return true;
    });
    Install();
    Uninstall(false);
    ExpectUninstalledBox();
    Install();
    Uninstall(false);
    ExpectUninstalledBox();
    s.Run();
    for (const auto& box : s.ws.Boxes()) {
        EXPECT_NE(box.text, Sj(SJ("ｾｯﾄｱｯﾌﾟをｷｬﾝｾﾙしますか？")));
        EXPECT_NE(box.text, Sj(SJ("ｱﾝｲﾝｽﾄｰﾙをｷｬﾝｾﾙさせると正しくﾃﾞｰﾀが削除されません。ｱﾝｲﾝｽﾄｰﾙをｷｬﾝｾﾙしますか？")));
    }
    EXPECT_EQ(s.ws.Boxes().size(), 5u);  // the folder question, then two installs and two uninstalls
    EXPECT_FALSE(installed("Game.exe"));
}

}  // namespace
}  // namespace flow
