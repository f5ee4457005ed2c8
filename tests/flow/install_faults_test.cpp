// One fault for each thing an install writes. Each install stops with the right boxes, takes back
// all it made, leaves no record, and the next install in the same run succeeds.
#include "flow/flow_support.h"
#include "forwarding_file_system.h"
#include "install/installed_record.h"

namespace flow {
namespace {

using testing_support::ForwardingFileSystem;
using testing_support::KeyOf;
using testing_support::TreeOf;

bool Inside(const std::string& path, const std::string& folder) {
    return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '\\';
}

// The real file system with one fault armed. Writes count the files opened for writing below the
// install folder, reads the files opened on the medium once the setup has started.
class FaultyFiles : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;

    std::unique_ptr<os::File> Open(const std::string& p, const os::OpenRequest& r) override {
        if (!armed) return real_.Open(p, r);
        const bool refused =
            p == refusedFile || p == os::RewriteTemporaryPath(refusedFile);  // a rewrite goes by its temporary file
        if (r.write && (Inside(p, readOnly) || (refused && ++refusedOpens >= refusedFrom))) return nullptr;
        auto file = real_.Open(p, r);
        if (!file) return file;
        if (r.write && !r.read && Inside(p, installFolder) && ++writeOpens == fullFile)
            return std::make_unique<Faulty>(std::move(file), 0, fullChunk);
        if (r.read && !r.write && Inside(p, medium) && ++readOpens == badReadFile)
            return std::make_unique<Faulty>(std::move(file), badReadChunk, 0);
        return file;
    }
    bool CreateFolder(const std::string& p) override {
        if (armed && (Inside(p, readOnly) || p == refusedFolder)) return false;
        return real_.CreateFolder(p);
    }
    bool RemoveFile(const std::string& p) override { return !(armed && Inside(p, readOnly)) && real_.RemoveFile(p); }
    bool RemoveFolder(const std::string& p) override {
        return !(armed && Inside(p, readOnly)) && real_.RemoveFolder(p);
    }

    bool armed = false;
    std::string installFolder, medium;
    int fullFile = 0, fullChunk = 0;        // a full disk inside this write of this file
    int badReadFile = 0, badReadChunk = 0;  // a failing read
    std::string readOnly;                   // nothing can be made or changed inside
    std::string refusedFolder;              // cannot be made
    std::string refusedFile;                // cannot be opened for writing from the n-th time on
    int refusedFrom = 1;

private:
    // Fails its n-th read, or half-writes and fails its n-th write, as a disk that fills up does.
    struct Faulty : os::File {
        Faulty(std::unique_ptr<os::File> f, int badRead, int fullWrite)
            : f_(std::move(f)), badRead_(badRead), fullWrite_(fullWrite) {}
        bool Read(void* b, std::size_t n, std::size_t& got) override {
            if (++reads_ == badRead_) return false;
            return f_->Read(b, n, got);
        }
        bool Write(const void* b, std::size_t n) override {
            if (++writes_ != fullWrite_) return f_->Write(b, n);
            f_->Write(b, n / 2);
            return false;
        }
        bool Size(std::uint64_t& s) override { return f_->Size(s); }
        std::unique_ptr<os::File> f_;
        int badRead_, fullWrite_, reads_ = 0, writes_ = 0;
    };
    int writeOpens = 0, readOpens = 0, refusedOpens = 0;
};

class FaultyShell : public os::Shell {
public:
    bool ProgramsFolder(std::string& f) override { return os::SystemShell().ProgramsFolder(f); }
    bool DesktopFolder(std::string& f) override { return os::SystemShell().DesktopFolder(f); }
    std::string ShortcutExtension() override { return os::SystemShell().ShortcutExtension(); }
    bool WriteShortcut(const std::string& link, const std::string& target, const std::string& working) override {
        if (armed && !refused.empty() && link.find(refused) != std::string::npos) return false;
        return os::SystemShell().WriteShortcut(link, target, working);
    }
    bool armed = false;
    std::string refused;  // a shortcut whose path holds this cannot be written
};

class FaultyRegistry : public testing_support::RecordingRegistry {
public:
    FaultyRegistry() : RecordingRegistry(os::SystemRegistry()) {}
    bool CreateKey(const std::string& k) override {
        return !(armed && refuseCreate) && RecordingRegistry::CreateKey(k);
    }
    bool SetValue(const std::string& k, const std::string& n, os::ValueType t, const std::string& d) override {
        return !(armed && refuseValue) && RecordingRegistry::SetValue(k, n, t, d);
    }
    bool armed = false, refuseCreate = false, refuseValue = false;
};

struct Fault {
    std::string name;
    // Arms the fault; the folders are the install root and the install folder.
    std::function<void(FaultyFiles&, FaultyShell&, FaultyRegistry&, const std::string& root, const std::string& folder)>
        arm;
    std::vector<std::string> boxes;  // what the player sees after the folder question
    bool jobStarts = true;           // false: the settings page refuses, no copy starts
};

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

const std::string kFailed(SJ("ｲﾝｽﾄｰﾙ中にｴﾗｰが発生しました！"));
const std::string kNoFolder(SJ("フォルダの作成に失敗しました。"));

std::vector<Fault> Faults() {
    std::vector<Fault> all;
    // The voice file is three chunks long; files open for writing in the order Game.exe, a.pak, v.pak.
    for (int file : {1, 2, 3})
        for (int chunk : {1, 2, 3}) {
            if (file < 3 && chunk > 1) continue;
            const std::string at = "InFile" + std::to_string(file) + "Chunk" + std::to_string(chunk);
            all.push_back({"DiskFull" + at,
                           [file, chunk](FaultyFiles& f, auto&, auto&, auto&, auto&) {
                               f.fullFile = file;
                               f.fullChunk = chunk;
                           },
                           {kFailed}});
            all.push_back({"SourceReadFails" + at,
                           [file, chunk](FaultyFiles& f, auto&, auto&, auto&, auto&) {
                               f.badReadFile = file;
                               f.badReadChunk = chunk;
                           },
                           {kFailed}});
        }
    all.push_back({"ReadOnlyInstallRoot",
                   [](FaultyFiles& f, auto&, auto&, const std::string& root, auto&) { f.readOnly = root; },
                   {kNoFolder},
                   false});
    all.push_back({"ReadOnlyInstallFolder",
                   [](FaultyFiles& f, auto&, auto&, auto&, const std::string& folder) { f.readOnly = folder; },
                   {kNoFolder, kFailed}});
    all.push_back({"GameShortcutCannotBeWritten",
                   [](auto&, FaultyShell& s, auto&, auto&, auto&) { s.refused = Sj(SJ("ゲームスタート")); },
                   {kFailed}});
    all.push_back({"HelpShortcutCannotBeWritten",
                   [](auto&, FaultyShell& s, auto&, auto&, auto&) { s.refused = Sj(SJ("ヘルプの実行")); },
                   {kFailed}});
    all.push_back({"DesktopShortcutCannotBeWritten",
                   [](auto&, FaultyShell& s, auto&, auto&, auto&) { s.refused = ShortcutPlaces().links[2]; },
                   {kFailed}});
    all.push_back(
        {"StartMenuFolderCannotBeMade",
         [](FaultyFiles& f, auto&, auto&, auto&, auto&) { f.refusedFolder = ShortcutPlaces().startMenuFolder; },
         {kNoFolder, kFailed}});
    for (int opening : {1, 2, 3}) {
        all.push_back({"ProfileCannotBeWrittenAtKey" + std::to_string(opening),
                       [opening](FaultyFiles& f, auto&, auto&, auto&, const std::string& folder) {
                           f.refusedFile = folder + "\\" + kTitle + ".ini";
                           f.refusedFrom = opening;
                       },
                       {kFailed}});
    }
    all.push_back({"RecordKeyCannotBeMade",
                   [](auto&, auto&, FaultyRegistry& r, auto&, auto&) { r.refuseCreate = true; },
                   {kFailed}});
    all.push_back({"RecordValueCannotBeWritten",
                   [](auto&, auto&, FaultyRegistry& r, auto&, auto&) { r.refuseValue = true; },
                   {kFailed}});
    return all;
}

class InstallFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(InstallFaults, AreTakenBackAndTheNextInstallSucceeds) {
    const Fault& fault = GetParam();
    ShortcutPlaces places;
    places.Clear();
    SetupRun s;
    s.WriteFiles(2 * 1048576 + 1000);
    GamesFolder games;
    testing_support::TempFolder& target = games.target;
    const std::string& root = games.root;
    const std::string& folder = games.folder;
    // An install folder that was there already goes with the rollback when it is empty.
    const bool folderExists = fault.name == "ReadOnlyInstallFolder";
    if (folderExists) std::filesystem::create_directories(target.host("Games\\" + kTitle));
    auto targetBefore = TreeOf(target.host());
    if (folderExists)
        targetBefore.erase(KeyOf(std::filesystem::path("Games") / testing_support::HostPathFromCp932(kTitle)));

    FaultyFiles files(os::SystemFileSystem());
    FaultyShell shell;
    FaultyRegistry registry;
    os::Services services{files, os::SystemBitmapLoader(), registry, os::SystemProcesses(), shell};
    s.services = &services;
    s.Start();
    const auto mediumBefore = TreeOf(s.medium.host());
    files.installFolder = folder;
    files.medium = support::Left(s.medium.path(), s.medium.path().size() - 1);
    fault.arm(files, shell, registry, root, folder);
    files.armed = shell.armed = registry.armed = true;

    ChooseAndInstall(s, root);
    s.Then([&](HeadlessWindowSystem& ws) {
        std::vector<std::string> shown;
        for (const auto& box : ws.Boxes()) shown.push_back(box.text);
        if (!folderExists) {
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(shown.front(), Sj(SJ("指定されたフォルダは存在しません。フォルダを作成しますか？")));
            shown.erase(shown.begin());
        }
        EXPECT_EQ(shown, fault.boxes);
        // Taken back: the folders hold what they held, there is no shortcut and no record.
        EXPECT_EQ(TreeOf(target.host()), targetBefore);
        EXPECT_EQ(TreeOf(s.medium.host()), mediumBefore);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_FALSE(places.Exists(i)) << places.links[i];
        std::uint32_t attributes;
        EXPECT_FALSE(os::SystemFileSystem().GetAttributes(places.startMenuFolder, attributes));
        EXPECT_FALSE(os::SystemRegistry().KeyExists(s.context->registryKeyPath));
        if (fault.jobStarts) {
            EXPECT_TRUE(s.Visible(201));
            EXPECT_EQ(s.Text(Welcome::InstallOrUninstall), Sj(SJ("ｲﾝｽﾄｰﾙ")));
            s.Click(Welcome::InstallOrUninstall);
        } else {
            EXPECT_TRUE(s.Visible(202));
        }
        files.armed = shell.armed = registry.armed = false;
    });
    s.Then([&](HeadlessWindowSystem& ws) {
        ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, root});
        s.Click(Settings::Browse);
        ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path()});
        s.Click(Settings::Install);
    });
    s.Then([&](HeadlessWindowSystem& ws) {
        EXPECT_EQ(ws.Boxes().back().text, Sj(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！")));
        EXPECT_TRUE(target.read("Games\\" + kTitle + "\\Voice\\v.pak") == s.medium.read("Voice\\v.pak"));
        EXPECT_EQ(install::InstalledFolder(*s.context), folder);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(places.Exists(i)) << places.links[i];
    });
    s.Run();
    os::SystemRegistry().DeleteKey(s.context->registryKeyPath);
    places.Clear();
}

INSTANTIATE_TEST_SUITE_P(Each, InstallFaults, ::testing::ValuesIn(Faults()),
                         [](const ::testing::TestParamInfo<Fault>& info) { return info.param.name; });

}  // namespace
}  // namespace flow
