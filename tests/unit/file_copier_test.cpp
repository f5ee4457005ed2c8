#include <gtest/gtest.h>

#include "forwarding_file_system.h"
#include "install/file_copier.h"
#include "install/game_profile.h"
#include "os/profile.h"
#include "support/cp932_literal.h"
#include "test_support.h"
#include "ui/headless/headless_window_system.h"

using namespace install;
using testing_support::TempFolder;

namespace {

class Copy : public ::testing::Test {
protected:
    Copy() { std::filesystem::create_directories(to.host()); }
    // Steps until the copy ends; the number of steps taken.
    int run(FileCopier& c, CopyResult& last) {
        int steps = 0;
        do {
            last = c.CopyStep();
            ++steps;
        } while (last == CopyContinue && steps < 100);
        return steps;
    }
    std::unique_ptr<FileCopier> copier(const std::string& rel, os::FileSystem& fs = os::SystemFileSystem()) {
        return std::make_unique<FileCopier>(ws, fs, from.path(), to.path(), rel);
    }
    ui::headless::HeadlessWindowSystem ws;
    TempFolder from, to;
};

TEST_F(Copy, ChunkCountsFollowTheSize) {
    const struct {
        std::size_t size;
        int steps;
    } cases[] = {{0, 1}, {1, 1}, {CopyChunkSize, 1}, {CopyChunkSize + 1, 2}, {3 * CopyChunkSize, 3}};
    for (const auto& c : cases) {
        std::string bytes(c.size, 'x');
        for (std::size_t i = 0; i < c.size; i += 4093) bytes[i] = static_cast<char>(i);
        from.write("f.bin", bytes);
        std::filesystem::remove(to.host("f.bin"));
        auto copy = copier("f.bin");
        ASSERT_TRUE(copy->ready);
        EXPECT_EQ(copy->BufferSize(), CopyChunkSize);
        CopyResult last;
        EXPECT_EQ(run(*copy, last), c.steps) << c.size;
        EXPECT_EQ(last, CopyComplete);
        EXPECT_TRUE(to.read("f.bin") == bytes) << c.size;
        EXPECT_EQ(copy->CopyStep(), CopyError);  // nothing left to read once complete
    }
    EXPECT_TRUE(ws.Boxes().empty());
}

TEST_F(Copy, TimesAndAttributesComeAlongWithoutReadOnly) {
    from.write("Data\\ro.dat", "read only");
    std::filesystem::create_directories(to.host("Data"));
    // A file of that name is never truncated: the install puts it aside before the copy.
    to.write("Data\\ro.dat", "an older copy");
    EXPECT_FALSE(copier("Data\\ro.dat")->ready);
    EXPECT_EQ(to.read("Data\\ro.dat"), "an older copy");
    std::filesystem::remove(to.host("Data\\ro.dat"));
    auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 1000);
    std::filesystem::last_write_time(from.host("Data\\ro.dat"), old);
    std::filesystem::permissions(from.host("Data\\ro.dat"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    auto copy = copier("Data\\ro.dat");
    ASSERT_TRUE(copy->ready);
    EXPECT_EQ(copy->DestinationPath(), to.path("Data\\ro.dat"));
    CopyResult last;
    run(*copy, last);
    ASSERT_EQ(last, CopyComplete);
    EXPECT_EQ(to.read("Data\\ro.dat"), "read only");
    FileStatus a, b;
    ASSERT_TRUE(QueryFileStatus(os::SystemFileSystem(), from.path("Data\\ro.dat"), a));
    ASSERT_TRUE(QueryFileStatus(os::SystemFileSystem(), to.path("Data\\ro.dat"), b));
    EXPECT_EQ(a.attributes & 0x01, 0x01);
    EXPECT_EQ(b.attributes & 0x01, 0);
    EXPECT_EQ(b.writeTime, a.writeTime);
    EXPECT_EQ(b.accessTime, a.accessTime);
}

TEST_F(Copy, EachFailureHasItsMessage) {
    const std::string caption(SJ("ｺﾋﾟｰのｴﾗｰ"));
    auto missing = copier(std::string(SJ("音声\\無い.wav")));
    EXPECT_FALSE(missing->ready);
    EXPECT_EQ(missing->CopyStep(), CopyError);
    ASSERT_EQ(ws.Boxes().size(), 1u);
    EXPECT_EQ(ws.Boxes()[0].text, std::string(SJ("音声\\無い.wav ﾌｧｲﾙが見つかりません！")));
    EXPECT_EQ(ws.Boxes()[0].caption, caption);
    EXPECT_EQ(ws.Boxes()[0].flags, ui::kMbOk | ui::kMbIconInformation);
    EXPECT_EQ(ws.Boxes()[0].owner, nullptr);

    from.write("busy.dat", "x");
    auto holder = os::SystemFileSystem().Open(from.path("busy.dat"), os::OpenRequest{true});
    EXPECT_FALSE(copier("busy.dat")->ready);
    EXPECT_EQ(ws.Boxes().back().text, std::string(SJ("busy.dat ﾌｧｲﾙ(Read)のｵｰﾌﾟﾝに失敗！")));
    holder.reset();

    from.write("Sub\\x.dat", "x");  // the destination folder Sub does not exist
    EXPECT_FALSE(copier("Sub\\x.dat")->ready);
    EXPECT_EQ(ws.Boxes().back().text, std::string(SJ("Sub\\x.dat ﾌｧｲﾙ(Write)のｵｰﾌﾟﾝに失敗！")));
}

// The real file system, with a source that ends before its measured size.
class ShrinkingSource : public testing_support::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    bool FindFile(const std::string& p, os::FoundFile& f) override {
        bool found = real_.FindFile(p, f);
        f.size += 10;
        return found;
    }
};

// The source holds more than it did when the copy began.
class GrowingSource : public testing_support::ForwardingFileSystem {
public:
    GrowingSource(os::FileSystem& real, std::uint64_t by) : ForwardingFileSystem(real), by_(by) {}
    bool FindFile(const std::string& p, os::FoundFile& f) override {
        bool found = real_.FindFile(p, f);
        f.size -= by_;
        return found;
    }

private:
    std::uint64_t by_;
};

TEST_F(Copy, ASourceThatGrewIsAnErrorByTheChunkThatShowsIt) {
    for (std::size_t size : {std::size_t{100}, CopyChunkSize, CopyChunkSize + 100, 3 * CopyChunkSize}) {
        for (std::uint64_t grew : {std::uint64_t{1}, std::uint64_t{4096}, std::uint64_t{CopyChunkSize / 2}}) {
            if (grew >= size) continue;
            from.write("grew.dat", std::string(size, 'g'));
            std::filesystem::remove(to.host("grew.dat"));  // the copier makes a new file only
            GrowingSource fs(os::SystemFileSystem(), grew);
            auto copy = copier("grew.dat", fs);
            ASSERT_TRUE(copy->ready);
            CopyResult last;
            const int steps = run(*copy, last);
            EXPECT_EQ(last, CopyError) << size << " grew by " << grew;
            EXPECT_LE(steps, static_cast<int>((size - grew) / CopyChunkSize) + 1) << size << " grew by " << grew;
        }
    }
}

TEST_F(Copy, ASourceThatEndsEarlyIsAnErrorNotAnEndlessCopy) {
    from.write("short.dat", std::string(100, 's'));
    ShrinkingSource fs(os::SystemFileSystem());
    auto copy = copier("short.dat", fs);
    ASSERT_TRUE(copy->ready);
    EXPECT_EQ(copy->CopyStep(), CopyContinue);
    EXPECT_EQ(copy->CopyStep(), CopyError);
}

TEST(GameProfile, ThreeKeysAndEverythingElseKept) {
    TempFolder folder;
    ui::headless::HeadlessWindowSystem ws;
    EXPECT_EQ(FormatDecimal(0), "0");
    EXPECT_EQ(FormatDecimal(128), "128");
    EXPECT_EQ(FormatDecimal(-45), "-45");
    EXPECT_EQ(FormatDecimal(INT64_MIN), "-9223372036854775808");

    class NoBox : public setupdata::StartupErrorBox {
        void Show(const std::string&) override {}
    } box;
    testing_support::CurrentFolder cd(folder.path());
    setupdata::SetupContext context(os::SystemServices(), box);
    context.setupData->title = std::string(SJ("ゲーム"));
    const std::string file = std::string(SJ("ゲーム.ini"));
    folder.write(file, "[User]\r\nName=Player\r\n[PATH]\r\nSetupType=5\r\nOther=keep\r\n");
    const std::string installFolder = folder.path().substr(0, folder.path().size() - 1);
    EXPECT_EQ(GameProfilePath(context, installFolder), folder.path(file));
    ASSERT_TRUE(WriteGameProfile(context, 0, installFolder, "D:\\Data"));
    auto get = [&](const char* section, const char* key) {
        return os::ReadProfileText(os::SystemFileSystem(), folder.path(file), section, key, "?", 512);
    };
    EXPECT_EQ(get("PATH", "SetupType"), "128");
    EXPECT_EQ(get("PATH", "Current"), folder.path());
    EXPECT_EQ(get("PATH", "CDDrive"), "D:\\Data\\");
    EXPECT_EQ(get("PATH", "Other"), "keep");
    EXPECT_EQ(get("User", "Name"), "Player");
    ASSERT_TRUE(WriteGameProfile(context, 1, installFolder, "E:\\"));
    EXPECT_EQ(get("PATH", "SetupType"), "0");
    EXPECT_EQ(get("PATH", "CDDrive"), "E:\\");
    EXPECT_FALSE(WriteProfileValue(os::SystemFileSystem(), "", "v", "S", "k"));
}

}  // namespace
