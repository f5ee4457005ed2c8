// The OS services of the shell on the backend this build has.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include "app/instance_mutex.h"
#include "forwarding_file_system.h"
#include "install/file_status.h"
#include "os/bitmap.h"
#include "os/file_time.h"
#include "os/process.h"
#include "os/registry.h"
#include "platform/disk_free_space.h"
#include "support/cp932_literal.h"
#include "test_support.h"

using testing_support::TempFolder;

namespace {

std::string UniqueKey(const std::string& leaf) {
    static int counter = 0;
    return "Software\\SetupTests\\" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
           "_" + std::to_string(++counter) + "\\" + leaf;
}

TEST(InstanceMutexTest, OneHolderPerName) {
    using Result = os::NamedMutex::Result;
    const std::string name = std::string(SJ("星降る丘")) + "_Running";
    app::InstanceMutex first, second, other;
    EXPECT_EQ(first.Create(name), Result::Created);
    EXPECT_EQ(second.Create(name), Result::AlreadyExists);
    EXPECT_EQ(other.Create(std::string(SJ("別のゲーム")) + "_Running"), Result::Created);
    first.Release();
    EXPECT_EQ(second.Create(name), Result::Created);  // free again once released
    EXPECT_EQ(first.Create(name), Result::AlreadyExists);
}

TEST(RegistryTest, KeysExistOnceCreated) {
    auto& registry = os::SystemRegistry();
    const std::string key = UniqueKey(std::string(SJ("ゲーム")));
    EXPECT_FALSE(registry.KeyExists(key));
    ASSERT_TRUE(registry.CreateKey(key));
    EXPECT_TRUE(registry.KeyExists(key));
    EXPECT_TRUE(registry.KeyExists(support::FoldAsciiCase(key)));     // ASCII case does not matter
    EXPECT_TRUE(registry.KeyExists(key.substr(0, key.rfind('\\'))));  // parents come with it
    EXPECT_FALSE(registry.KeyExists(key + "x"));
}

TEST(RegistryTest, DeleteKeyTakesALeafWithItsValuesOnly) {
    auto& registry = os::SystemRegistry();
    const std::string key = UniqueKey(std::string(SJ("ゲーム")));
    const std::string parent = key.substr(0, key.rfind('\\'));
    ASSERT_TRUE(registry.CreateKey(key));
    ASSERT_TRUE(registry.SetValue(key, "Install", os::ValueType::String, std::string("C:\\Games\0", 10)));
    EXPECT_FALSE(registry.DeleteKey(parent));  // a key with subkeys stays
    EXPECT_TRUE(registry.KeyExists(key));
    EXPECT_TRUE(registry.DeleteKey(support::FoldAsciiCase(key)));
    EXPECT_FALSE(registry.KeyExists(key));
    os::ValueType type;
    std::string data;
    EXPECT_FALSE(registry.QueryValue(key, "Install", 260, type, data));
    EXPECT_TRUE(registry.KeyExists(parent));
    EXPECT_FALSE(registry.DeleteKey(key));  // already gone
    EXPECT_TRUE(registry.DeleteKey(parent));
}

bool WaitFor(const std::filesystem::path& file) {
    for (int i = 0; i < 100 && !std::filesystem::exists(file); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return std::filesystem::exists(file);
}

// Both ways of starting, the direct one and the shell's that asks for consent where a program
// needs an administrator: the program runs in the given folder, and what is no program fails.
TEST(ProcessTest, StartsAProgramInItsFolder) {
    using Start = std::function<bool(const std::string&, const std::string&)>;
    const Start starts[] = {
        [](const std::string& exe, const std::string& folder) {
            return os::SystemProcesses().Start(exe, folder) == os::Processes::Outcome::Started;
        },
        [](const std::string& exe, const std::string& folder) {
            return os::SystemProcesses().StartWithConsent(exe, folder);
        },
    };
    for (const Start& start : starts) {
        TempFolder tmp;
        const std::string folder = std::string(SJ("ゲーム フォルダ"));  // a blank in the path needs no quoting
        std::filesystem::create_directories(tmp.host(folder));
        std::filesystem::copy_file(RECORD_START, tmp.host(folder + "\\my game.exe"));
        EXPECT_TRUE(start(tmp.path(folder + "\\my game.exe"), tmp.path(folder + "\\")));
        ASSERT_TRUE(WaitFor(tmp.host(folder + "\\started.txt")));
        std::ifstream in(tmp.host(folder + "\\started.txt"), std::ios::binary);
        std::string cwd((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(std::filesystem::path(std::u8string(cwd.begin(), cwd.end())), tmp.host(folder));

        tmp.write("not a program.exe", "text");
        EXPECT_FALSE(start(tmp.path("not a program.exe"), tmp.path()));
        EXPECT_FALSE(start(tmp.path("missing.exe"), tmp.path()));
    }
}

TEST(FileStatusTest, SizeAttributesAndTimes) {
    TempFolder tmp;
    tmp.write("a.dat", "12345");
    auto stamp = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    std::filesystem::last_write_time(tmp.host("a.dat"), stamp);
    install::FileStatus status;
    ASSERT_TRUE(install::QueryFileStatus(os::SystemFileSystem(), tmp.path("a.dat"), status));
    EXPECT_EQ(status.size, 5u);
    EXPECT_EQ(status.attributes & 0x80, 0);
    EXPECT_EQ(status.attributes & 0x10, 0);
    auto expected = std::chrono::duration_cast<std::chrono::seconds>(
                        std::chrono::system_clock::now().time_since_epoch() - std::chrono::hours(24 * 30))
                        .count();
    EXPECT_NEAR(static_cast<double>(status.writeTime), static_cast<double>(expected), 3600 + 5.0);
    EXPECT_NE(status.creationTime, 0);
    EXPECT_NE(status.accessTime, 0);
    EXPECT_FALSE(install::QueryFileStatus(os::SystemFileSystem(), tmp.path("none.dat"), status));
    const std::string folder = tmp.path().substr(0, tmp.path().size() - 1);  // no trailing backslash
    ASSERT_TRUE(install::QueryFileStatus(os::SystemFileSystem(), folder, status));
    EXPECT_EQ(status.attributes & 0x10, 0x10);
}

TEST(LocalTimeTest, SecondsRoundTripThroughFileTimes) {
    for (std::int64_t seconds : {std::int64_t{0} + 86400 * 365, std::int64_t{1700000000}, std::int64_t{2000000000}}) {
        std::int64_t back = -1;
        ASSERT_TRUE(os::FileTimeToLocalSeconds(os::LocalSecondsToFileTime(seconds), back));
        EXPECT_NEAR(static_cast<double>(back), static_cast<double>(seconds), 3600) << seconds;
    }
    std::int64_t old = -1;
    ASSERT_TRUE(os::FileTimeToLocalSeconds(10000000ull * 86400 * 365, old));  // 1602
    EXPECT_EQ(old, 0);
}

// From 1900 to the last second before 1970, a day and a few seconds apart: the seconds are the
// file time's, negative, and come back to the same file time.
TEST(LocalTimeTest, TimesBefore1970KeepTheirSeconds) {
    for (std::int64_t seconds = -2208902400; seconds < 0; seconds += 86400 * 7 + 3601) {
        for (std::int64_t at : {seconds, std::int64_t{-1}}) {
            std::int64_t back = 0;
            ASSERT_TRUE(os::FileTimeToLocalSeconds(os::FileTimeOfSecondsBefore1970(at), back)) << at;
            ASSERT_EQ(back, at);
            ASSERT_EQ(os::LocalSecondsToFileTime(back), os::FileTimeOfSecondsBefore1970(at)) << at;
        }
    }
}

TEST(BitmapTest, TheDemoBannerLoadsAndJunkDoesNot) {
    std::string medium = os::SetupPathFromHost(DEMO_MEDIUM);
    auto banner = os::SystemBitmapLoader().LoadFromFile(support::WithTrailingBackslash(medium) + "Setup.bmp");
    EXPECT_NE(banner->Handle(), nullptr);
    TempFolder tmp;
    tmp.write("x.bmp", "not a bitmap");
    EXPECT_EQ(os::SystemBitmapLoader().LoadFromFile(tmp.path("x.bmp"))->Handle(), nullptr);
    EXPECT_EQ(os::SystemBitmapLoader().LoadFromFile(tmp.path("none.bmp"))->Handle(), nullptr);
}

// The real file system with the free-space answers the test chooses, recording what was asked.
class FreeSpaceProbe : public testing_support::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    os::DriveType DriveTypeOf(const std::string& root) override {
        return root[0] < 'F' ? os::DriveType::Fixed : os::DriveType::NoRootDir;  // C: to E: are taken
    }
    bool FreeBytesAvailable(const std::string& folder, std::uint64_t& bytes, bool& available) override {
        if (!extended) {
            available = false;
            return false;
        }
        return real_.FreeBytesAvailable(folder, bytes, available);
    }
    bool ClusterFreeSpace(const std::string& root, std::uint64_t& spc, std::uint64_t& bps, std::uint64_t& c) override {
        roots.push_back(root);
        spc = 8;
        bps = 512;
        c = 3000000;  // above 4 GiB in all
        return true;
    }
    bool ConnectNetworkDrive(const std::string& local, const std::string& remote) override {
        calls.push_back("connect " + local + " " + remote);
        return connects;
    }
    void DisconnectNetworkDrive(const std::string& local) override { calls.push_back("disconnect " + local); }

    bool extended = true;
    bool connects = true;
    std::vector<std::string> roots, calls;
};

TEST(DiskFreeSpaceTest, ExtendedQueryAndTheFallback) {
    FreeSpaceProbe fs(os::SystemFileSystem());
    TempFolder tmp;
    std::uint64_t bytes = 7;
    EXPECT_TRUE(platform::DiskFreeSpace(fs, tmp.path(), bytes).succeeded);
    EXPECT_GT(bytes, 0u);
    bytes = 7;
    EXPECT_FALSE(platform::DiskFreeSpace(fs, tmp.path("missing\\"), bytes).succeeded);
    EXPECT_EQ(bytes, 7u);  // a failed query leaves the caller's value alone
    EXPECT_TRUE(fs.roots.empty());

    fs.extended = false;
    EXPECT_TRUE(platform::DiskFreeSpace(fs, "D:\\Games\\Title", bytes).succeeded);
    EXPECT_EQ(bytes, 8ull * 512 * 3000000);
    EXPECT_EQ(fs.roots, std::vector<std::string>{"D:\\"});
    EXPECT_TRUE(platform::DiskFreeSpace(fs, "\\\\server\\share\\games", bytes).succeeded);
    EXPECT_EQ(fs.calls, (std::vector<std::string>{"connect F: \\\\server\\share\\games", "disconnect F:"}));
    fs.connects = false;
    fs.calls.clear();
    EXPECT_FALSE(platform::DiskFreeSpace(fs, "\\\\server\\share", bytes).succeeded);
    EXPECT_EQ(fs.calls, std::vector<std::string>{"connect F: \\\\server\\share"});
}

TEST(DiskFreeSpaceTest, TheTextShowsEveryDigit) {
    EXPECT_EQ(platform::FreeSpaceText(5ull << 30), " 5368709120 " + std::string(SJ("ﾊﾞｲﾄ")));
    EXPECT_EQ(platform::FreeSpaceText(0), " 0 " + std::string(SJ("ﾊﾞｲﾄ")));
    EXPECT_EQ(platform::FreeSpaceText(~0ull), " 18446744073709551615 " + std::string(SJ("ﾊﾞｲﾄ")));
}

}  // namespace
