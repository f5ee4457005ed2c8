// What the copy page tells the player while the job works, a copy buffer that cannot be had, the
// shortcut choices one by one, and source files older than 1970.
#include <atomic>
#include <cstdlib>
#include <new>

#include "flow/flow_support.h"
#include "forwarding_file_system.h"
#include "install/file_copier.h"
#include "install/file_status.h"
#include "install/installed_record.h"
#include "os/file_time.h"

namespace {

// The copy's buffer is the program's only array of its size; this many more of them are handed
// out before one fails once. Negative: none fails.
std::atomic<int> gArraysBeforeFailure{-1};
std::atomic<std::size_t> gFailingArraySize{0};

void* AllocateArray(std::size_t n) {
    if (n == gFailingArraySize.load() && gArraysBeforeFailure.load() >= 0 && gArraysBeforeFailure.fetch_sub(1) == 0)
        return nullptr;
    return std::malloc(n ? n : 1);
}

}  // namespace

// The real allocator, with one failure armed by the test below.
void* operator new[](std::size_t n) {
    if (void* p = AllocateArray(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return AllocateArray(n); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace flow {
namespace {

using testing_support::ForwardingFileSystem;
using testing_support::TreeOf;

const std::string kSucceeded(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！"));

// What the copy page's status line read, and whether the page was in front, at the moment of
// each change the setup made.
struct Moment {
    std::string change, status;
    bool pageShown;
};

class Watch {
public:
    explicit Watch(SetupRun& s) : s_(s) {}
    void Note(const std::string& change) {
        ui::WindowHandle page = s_.Page(203);
        moments.push_back({change, page ? s_.Text(Copying::Status) : "", page && s_.Visible(203)});
    }
    std::vector<Moment> moments;

private:
    SetupRun& s_;
};

class WatchedFiles : public ForwardingFileSystem {
public:
    explicit WatchedFiles(Watch& watch) : ForwardingFileSystem(os::SystemFileSystem()), watch_(watch) {}
    // An opening for writing, and the first bytes written.
    std::unique_ptr<os::File> Open(const std::string& p, const os::OpenRequest& r) override {
        auto file = real_.Open(p, r);
        if (!file || !r.write) return file;
        watch_.Note("open " + p);
        struct Noting : os::File {
            Noting(std::unique_ptr<os::File> f, Watch& w, std::string p) : f_(std::move(f)), w_(w), p_(std::move(p)) {}
            bool Read(void* b, std::size_t n, std::size_t& got) override { return f_->Read(b, n, got); }
            bool Write(const void* b, std::size_t n) override {
                if (!written_) w_.Note("write " + p_);
                written_ = true;
                return f_->Write(b, n);
            }
            bool Size(std::uint64_t& s) override { return f_->Size(s); }
            bool Flush() override { return f_->Flush(); }
            std::unique_ptr<os::File> f_;
            Watch& w_;
            std::string p_;
            bool written_ = false;
        };
        return std::make_unique<Noting>(std::move(file), watch_, p);
    }
    bool CreateFolder(const std::string& p) override {
        watch_.Note("folder " + p);
        return real_.CreateFolder(p);
    }

private:
    Watch& watch_;
};

class WatchedRegistry : public testing_support::RecordingRegistry {
public:
    explicit WatchedRegistry(Watch& watch) : RecordingRegistry(os::SystemRegistry()), watch_(watch) {}
    bool SetValue(const std::string& k, const std::string& n, os::ValueType t, const std::string& d) override {
        watch_.Note("value " + n);
        return RecordingRegistry::SetValue(k, n, t, d);
    }

private:
    Watch& watch_;
};

class WatchedShell : public os::Shell {
public:
    explicit WatchedShell(Watch& watch) : watch_(watch) {}
    bool ProgramsFolder(std::string& f) override { return os::SystemShell().ProgramsFolder(f); }
    bool DesktopFolder(std::string& f) override { return os::SystemShell().DesktopFolder(f); }
    std::string ShortcutExtension() override { return os::SystemShell().ShortcutExtension(); }
    bool WriteShortcut(const std::string& link, const std::string& target, const std::string& working) override {
        watch_.Note("shortcut " + link);
        return os::SystemShell().WriteShortcut(link, target, working);
    }

private:
    Watch& watch_;
};

TEST(CopyPageStatus, NamesTheFoldersTheFilesAndTheRegistryAsTheJobReachesThem) {
    ShortcutPlaces places;
    places.Clear();
    SetupRun s;
    s.WriteFiles();
    GamesFolder games;
    Watch watch(s);
    WatchedFiles files(watch);
    WatchedRegistry registry(watch);
    WatchedShell shell(watch);
    os::Services services{files, os::SystemBitmapLoader(), registry, os::SystemProcesses(), shell};
    s.services = &services;
    s.Start();
    ChooseAndInstall(s, games.root);
    s.Then([&](HeadlessWindowSystem& ws) { EXPECT_EQ(ws.Boxes().back().text, kSucceeded); });
    s.Run();

    const std::string creating(SJ("フォルダを作成中...")), registering(SJ("レジストリを設定中..."));
    const std::string copying(SJ("コピー中...　"));
    const std::string& folder = games.folder;
    std::vector<std::pair<std::string, std::string>> expected = {
        {"folder " + folder + "\\Data", creating},
        {"folder " + folder + "\\Voice", creating},
        {"write " + folder + "\\Game.exe", copying + "Game.exe"},
        {"write " + folder + "\\Data\\a.pak", copying + "Data\\a.pak"},
        {"write " + folder + "\\Voice\\v.pak", copying + "Voice\\v.pak"},
        {"folder " + places.startMenuFolder, registering},
        {"shortcut " + places.links[0], registering},
        {"shortcut " + places.links[1], registering},
        {"shortcut " + places.links[2], registering},
        {"open " + folder + "\\" + kTitle + ".ini", registering},
        {"value Install", registering},
    };
    // Every change of the job, in order, with the page in front: a game file when its first bytes
    // go, the profile when it is made. The install folder itself was made on the settings page.
    std::vector<std::pair<std::string, std::string>> seen;
    const std::string profile = expected[9].first;
    for (const Moment& m : watch.moments) {
        const bool ofProfile = m.change.find(".ini") != std::string::npos;
        if (!m.pageShown || (ofProfile && m.change != profile) || (!ofProfile && m.change.rfind("open ", 0) == 0))
            continue;
        if (!seen.empty() && seen.back().first == m.change) continue;
        seen.push_back({m.change, m.status});
    }
    EXPECT_EQ(seen, expected);
    os::SystemRegistry().DeleteKey(s.context->registryKeyPath);
    places.Clear();
}

// The copy's buffer cannot be had for the n-th file: the box says so in the copier's own words,
// the install stops and is taken back, and the next one succeeds.
TEST(CopyBuffer, ThatCannotBeHadStopsTheInstallWithItsOwnBox) {
    for (int file : {0, 1, 2}) {
        SCOPED_TRACE(file);
        ShortcutPlaces places;
        places.Clear();
        SetupRun s;
        s.WriteFiles();
        GamesFolder games;
        const auto before = TreeOf(games.target.host());
        s.Start();
        s.Then([&](HeadlessWindowSystem&) {
            gFailingArraySize = install::CopyChunkSize;
            gArraysBeforeFailure = file;
            s.Click(Welcome::InstallOrUninstall);
        });
        s.Then([&](HeadlessWindowSystem& ws) {
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, games.root});
            s.Click(Settings::Browse);
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path()});
            s.Click(Settings::Install);
        });
        s.Then([&](HeadlessWindowSystem& ws) {
            gArraysBeforeFailure = -1;
            ASSERT_EQ(ws.Boxes().size(), 3u);
            EXPECT_EQ(ws.Boxes()[1].text, Sj(SJ("ﾒﾓﾘの確保に失敗！")));
            EXPECT_EQ(ws.Boxes()[1].caption, Sj(SJ("ｺﾋﾟｰのｴﾗｰ")));
            EXPECT_EQ(ws.Boxes()[1].flags, ui::kMbOk | ui::kMbIconInformation);
            EXPECT_EQ(ws.Boxes()[2].text, Sj(SJ("ｲﾝｽﾄｰﾙ中にｴﾗｰが発生しました！")));
            EXPECT_EQ(TreeOf(games.target.host()), before);
            EXPECT_FALSE(os::SystemRegistry().KeyExists(s.context->registryKeyPath));
            EXPECT_TRUE(s.Visible(201));
        });
        ChooseAndInstall(s, games.root);
        s.Then([&](HeadlessWindowSystem& ws) {
            EXPECT_EQ(ws.Boxes().back().text, kSucceeded);
            EXPECT_TRUE(games.target.read("Games\\" + kTitle + "\\Voice\\v.pak") == s.medium.read("Voice\\v.pak"));
        });
        s.Run();
        gArraysBeforeFailure = -1;
        os::SystemRegistry().DeleteKey(s.context->registryKeyPath);
        places.Clear();
    }
}

class ShortcutChoices : public ::testing::Test {
protected:
    ShortcutChoices() {
        places.Clear();
        s.WriteFiles();
    }
    ~ShortcutChoices() override {
        if (s.context) os::SystemRegistry().DeleteKey(s.context->registryKeyPath);
        places.Clear();
    }
    bool FolderExists(const std::string& path) {
        std::uint32_t attributes = 0;
        return os::SystemFileSystem().GetAttributes(path, attributes) && (attributes & os::kAttributeFolder);
    }
    void Uninstall() {
        s.Then([this](HeadlessWindowSystem&) { s.Click(Welcome::InstallOrUninstall); });
        s.Then([this](HeadlessWindowSystem&) { s.Click(UninstallSettings::Uninstall); });
    }

    ShortcutPlaces places;
    SetupRun s;
    GamesFolder games;
};

TEST_F(ShortcutChoices, TheDesktopAloneMakesNoStartMenuFolder) {
    s.Start();
    ChooseAndInstall(s, games.root, {Settings::StartMenu});  // the Start menu unticked, the desktop left ticked
    s.Then([this](HeadlessWindowSystem& ws) {
        EXPECT_EQ(ws.Boxes().back().text, kSucceeded);
        EXPECT_TRUE(places.Exists(2));
        EXPECT_FALSE(FolderExists(places.startMenuFolder));
    });
    Uninstall();
    s.Then([this](HeadlessWindowSystem& ws) {
        EXPECT_EQ(ws.Boxes().back().text, Sj(SJ("ｱﾝｲﾝｽﾄｰﾙが正常に終了しました！")));
        EXPECT_FALSE(places.Exists(2));
        EXPECT_FALSE(FolderExists(places.startMenuFolder));
    });
    s.Run();
}

// A Start-menu folder of the title that is there already, holding a file of the player's: the
// install puts its shortcuts in it, and the uninstall takes only those.
TEST_F(ShortcutChoices, AnExistingStartMenuFolderIsUsedAndKeepsThePlayersFile) {
    ASSERT_TRUE(os::SystemFileSystem().CreateFolder(places.startMenuFolder));
    const std::string mine = places.startMenuFolder + "\\mine.txt";
    ASSERT_TRUE(os::WriteWholeFile(os::SystemFileSystem(), mine, "mine"));
    s.Start();
    ChooseAndInstall(s, games.root, {Settings::DesktopShortcut});  // the desktop unticked
    s.Then([this](HeadlessWindowSystem& ws) {
        EXPECT_EQ(ws.Boxes().back().text, kSucceeded);
        EXPECT_TRUE(places.Exists(0));
        EXPECT_TRUE(places.Exists(1));
        EXPECT_FALSE(places.Exists(2));
    });
    Uninstall();
    s.Run();
    EXPECT_FALSE(places.Exists(0));
    EXPECT_FALSE(places.Exists(1));
    std::string bytes;
    EXPECT_TRUE(os::ReadWholeFile(os::SystemFileSystem(), mine, bytes));
    EXPECT_EQ(bytes, "mine");
    os::SystemFileSystem().RemoveFile(mine);
}

// Files stamped before 1970, as old CD-ROM masters may be: the copies carry the same write time,
// to the second.
TEST(OldSourceTimes, TheCopiesKeepTimesBefore1970) {
    ShortcutPlaces places;
    places.Clear();
    SetupRun s;
    s.WriteFiles();
    GamesFolder games;
    const std::vector<std::pair<const char*, std::int64_t>> stamps = {
        {"Game.exe", -2145916800},  // 1902-01-01, near the oldest time some hosts' files keep
        {"Data\\a.pak", -1},        // the last second before 1970
        {"Voice\\v.pak", -86400 * 365 * 20},
    };
    for (const auto& [rel, seconds] : stamps) {
        const std::uint64_t at = os::FileTimeOfSecondsBefore1970(seconds);
        ASSERT_TRUE(os::SystemFileSystem().SetFileTimes(s.medium.path(rel), &at, &at, &at)) << rel;
    }
    s.Start();
    ChooseAndInstall(s, games.root);
    s.Then([&](HeadlessWindowSystem& ws) { EXPECT_EQ(ws.Boxes().back().text, kSucceeded); });
    s.Run();
    for (const auto& [rel, seconds] : stamps) {
        os::FoundFile from, to;
        ASSERT_TRUE(os::SystemFileSystem().FindFile(s.medium.path(rel), from));
        ASSERT_TRUE(os::SystemFileSystem().FindFile(games.folder + "\\" + rel, to)) << rel;
        EXPECT_EQ(to.writeTime / 10000000, from.writeTime / 10000000) << rel;
        EXPECT_EQ(os::SecondsOfFileTimeBefore1970(from.writeTime), seconds) << rel;
    }
    os::SystemRegistry().DeleteKey(s.context->registryKeyPath);
    places.Clear();
}

}  // namespace
}  // namespace flow
