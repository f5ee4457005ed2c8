// For generated descriptions, names and saves: an uninstall and a rollback remove nothing but what
// lies below the recorded install folder, in the two shortcut places and the game's own key.
#include <algorithm>
#include <random>

#include "flow/flow_support.h"
#include "forwarding_file_system.h"

namespace flow {
namespace {

// Names with trail bytes 0x5C (表, ソ, 能), blanks, dots, a percent sign, ASCII case.
const std::vector<std::string> kParts = {Sj(SJ("表")), Sj(SJ("ソフト")), "Data", "data",         "a b",
                                         "x.y",        Sj(SJ("能力")),   "%s",   Sj(SJ("ｾｰﾌﾞ")), "Save",
                                         ".v1",        Sj(SJ("十"))};

struct Generated {
    std::mt19937 random;
    explicit Generated(unsigned seed) : random(seed) {}
    int below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
    std::string name(int parts) {
        std::string n;
        for (int i = 0; i < parts; ++i) n += kParts[static_cast<std::size_t>(below(static_cast<int>(kParts.size())))];
        return n;
    }
};

void Describe(Generated& g, SetupRun& s) {
    setupdata::SetupData& d = s.description;
    d.title = g.name(1 + g.below(2));
    d.saveSlotCount = g.below(9) - 3;
    d.folders.clear();
    d.files.clear();
    for (int i = g.below(4); i > 0; --i) {
        std::string folder = g.name(1 + g.below(2));
        // A nested folder now and then, after its parent.
        if (!d.folders.empty() && g.below(2)) folder = d.folders.back() + "\\" + folder;
        if (std::find(d.folders.begin(), d.folders.end(), folder) == d.folders.end()) d.folders.push_back(folder);
    }
    const std::int32_t masks[] = {-1, 1, 2};
    for (int i = 1 + g.below(6); i > 0; --i) {
        auto entry = std::make_shared<setupdata::FileEntry>();
        entry->name = g.name(1 + g.below(2)) + std::to_string(i) + ".dat";
        entry->typeMask = masks[g.below(3)];
        entry->folderIndex = g.below(static_cast<int>(d.folders.size()) + 1) - 1;
        const std::string rel = entry->folderIndex >= 0
                                    ? d.folders[static_cast<std::size_t>(entry->folderIndex)] + "\\" + entry->name
                                    : entry->name;
        const std::string bytes(static_cast<std::size_t>(1 + g.below(5000)), 'x');
        entry->size = bytes.size();
        s.medium.write(rel, bytes);
        d.files.push_back(entry);
    }
}

class Safety : public ::testing::Test {
protected:
    // Runs one generated install, then its uninstall or (with failFrom) its rollback, and checks
    // every removal and key deletion.
    void RunCase(unsigned seed, bool rollBack) {
        Generated g(seed);
        int failFrom = 0;
        testing_support::TempFolder target;
        SetupRun s;
        Describe(g, s);
        const setupdata::InstallType type = g.below(2) ? 0 : 1;
        // A rollback after a failure in one of the copies, which come before every other write.
        const int count = s.description.fileCountOfType(type);
        if (rollBack && count > 0) failFrom = 1 + g.below(count);
        testing_support::FailingWrites failing(os::SystemFileSystem(), failFrom > 0 ? failFrom : 1 << 30);
        testing_support::RecordingRemovals files(failing);
        testing_support::RecordingRegistry registry(os::SystemRegistry());
        os::Services services{files, os::SystemBitmapLoader(), registry, os::SystemProcesses(), os::SystemShell()};
        s.services = &services;
        const std::string title = s.description.title;
        ShortcutPlaces places(title);
        places.Clear();
        std::filesystem::create_directories(target.host("Games"));
        target.write("Games\\keep.txt", "beside the install");
        target.write("keep.txt", "above it");
        const std::string folder = target.path("Games\\" + title);
        s.Start();
        ChooseAndInstall(s, target.path("Games"),
                         type == 0 ? std::vector<Settings>{Settings::VoicelessInstall} : std::vector<Settings>{});
        const bool fails = failFrom > 0;
        if (!fails) {
            const bool keep = g.below(2);
            s.Then([&](HeadlessWindowSystem&) {
                for (const char* save : {"env.ini", "SAVE0001.DAT", "QSAVE0002.LOG", "unread.ini"})
                    target.write("Games\\" + title + "\\Save\\" + save, "s");
                files.removals.clear();
                s.Click(Welcome::InstallOrUninstall);
            });
            s.Then([&, keep](HeadlessWindowSystem&) {
                if (keep) s.Click(UninstallSettings::KeepSaveFiles);
                s.Click(UninstallSettings::Uninstall);
            });
        }
        s.Run();
        ASSERT_FALSE(s.ws.Boxes().empty());
        const std::string last = s.ws.Boxes().back().text;
        EXPECT_EQ(last, Sj(fails ? SJ("ｲﾝｽﾄｰﾙ中にｴﾗｰが発生しました！") : SJ("ｱﾝｲﾝｽﾄｰﾙが正常に終了しました！"))) << seed;
        EXPECT_TRUE(!fails || !target.exists("Games\\" + title)) << seed;

        auto below = [](const std::string& path, const std::string& root) {
            return path == root || path.rfind(root + "\\", 0) == 0;
        };
        for (const std::string& removal : files.removals) {
            const std::string path = removal.substr(removal.find(' ') + 1);
            EXPECT_TRUE(below(path, folder) || below(path, places.startMenuFolder) || path == places.links[2])
                << "seed " << seed << ": " << removal;
        }
        for (const std::string& key : registry.deleted) EXPECT_EQ(key, s.context->registryKeyPath) << seed;
        EXPECT_TRUE(target.exists("Games\\keep.txt")) << seed;
        EXPECT_TRUE(target.exists("keep.txt")) << seed;
        for (const auto& entry : s.description.files) {
            const std::string rel =
                entry->folderIndex >= 0
                    ? s.description.folders[static_cast<std::size_t>(entry->folderIndex)] + "\\" + entry->name
                    : entry->name;
            EXPECT_TRUE(s.medium.exists(rel)) << seed << " " << rel;  // the medium keeps every file
        }
        places.Clear();
        os::SystemRegistry().DeleteKey(s.context->registryKeyPath);
        ++cases;
        rolledBack += fails;
    }
    int cases = 0;
    int rolledBack = 0;
};

TEST_F(Safety, UninstallsRemoveOnlyWhatTheInstallOwns) {
    for (unsigned seed = 1; seed <= 30; ++seed) RunCase(seed, false);
    EXPECT_EQ(cases, 30);
}

TEST_F(Safety, RollbacksRemoveOnlyWhatTheInstallMade) {
    for (unsigned seed = 101; seed <= 130; ++seed) RunCase(seed, true);
    EXPECT_EQ(cases, 30);
    EXPECT_GE(rolledBack, 20);  // the rest had no file of their type: they were uninstalled
}

}  // namespace
}  // namespace flow
