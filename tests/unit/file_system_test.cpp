#include <gtest/gtest.h>

#include "os/file_system.h"
#include "setupdata/file_handle.h"
#include "support/cp932_literal.h"
#include "test_support.h"

using namespace setupdata;
using testing_support::TempFolder;

namespace {

os::FileSystem& Fs() { return os::SystemFileSystem(); }

TEST(ModeFlags, MapOntoTheOpenRequest) {
    auto r = OpenRequestFromFlags(kModeRead);
    EXPECT_TRUE(r.read);
    EXPECT_FALSE(r.write);
    EXPECT_EQ(r.disposition, os::Disposition::OpenExisting);
    EXPECT_TRUE(r.inheritable);
    EXPECT_FALSE(r.shareRead || r.shareWrite);
    EXPECT_EQ(OpenRequestFromFlags(kModeCreate | kModeWrite).disposition, os::Disposition::CreateAlways);
    EXPECT_EQ(OpenRequestFromFlags(kModeCreate | kModeAlways).disposition, os::Disposition::OpenAlways);
    EXPECT_EQ(OpenRequestFromFlags(kModeAlways).disposition, os::Disposition::OpenExisting);
    auto all = OpenRequestFromFlags(0x7F | 0x80 | 0x100);
    EXPECT_TRUE(all.read && all.write && all.shareRead && all.shareWrite);
    EXPECT_FALSE(all.inheritable);
}

TEST(FileHandleTest, ReadsWritesAndRemembersItsPath) {
    TempFolder tmp;
    FileHandle f(Fs());
    EXPECT_FALSE(f.OpenWithFlags(tmp.path("missing.bin"), kModeRead));
    EXPECT_EQ(f.Path(), "");
    ASSERT_TRUE(f.OpenWithFlags(tmp.path("a.bin"), kModeCreate | kModeWrite));
    EXPECT_EQ(f.Path(), tmp.path("a.bin"));
    ASSERT_TRUE(f.Write("hello\0world", 11));
    ASSERT_TRUE(f.Flush());
    f.Close();
    EXPECT_EQ(f.Path(), "");
    EXPECT_EQ(tmp.read("a.bin"), std::string("hello\0world", 11));

    ASSERT_TRUE(f.OpenWithFlags(tmp.path("a.bin"), kModeRead));
    std::uint64_t size = 0;
    ASSERT_TRUE(f.Size(size));
    EXPECT_EQ(size, 11u);
    std::string text = "unchanged";
    ASSERT_TRUE(f.ReadCountedBody(text, 11));
    EXPECT_EQ(text, "hello");  // the text ends at the NUL; all 11 bytes are consumed
    EXPECT_FALSE(f.ReadCountedBody(text, 1));
    EXPECT_EQ(text, "hello");
    char c;
    EXPECT_FALSE(f.ReadExactly(&c, 1));

    // Create-always truncates an existing file.
    ASSERT_TRUE(f.OpenWithFlags(tmp.path("a.bin"), kModeCreate | kModeWrite));
    f.Close();
    EXPECT_EQ(tmp.read("a.bin"), "");
}

TEST(FileHandleTest, LargeReadsArriveWhole) {
    TempFolder tmp;
    std::string data(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 251);
    tmp.write("big.bin", data);
    FileHandle f(Fs());
    ASSERT_TRUE(f.OpenWithFlags(tmp.path("big.bin"), kModeRead));
    std::string got(data.size(), '\0');
    ASSERT_TRUE(f.ReadExactly(got.data(), 5));
    ASSERT_TRUE(f.ReadExactly(got.data() + 5, 1024 * 1024));
    ASSERT_TRUE(f.ReadExactly(got.data() + 5 + 1024 * 1024, data.size() - 5 - 1024 * 1024));
    EXPECT_TRUE(got == data);
}

TEST(FileHandleTest, AnExclusiveHandleKeepsOthersOut) {
    TempFolder tmp;
    tmp.write("x.dat", "abc");
    FileHandle first(Fs()), second(Fs());
    ASSERT_TRUE(first.OpenWithFlags(tmp.path("x.dat"), kModeRead));
    EXPECT_FALSE(second.OpenWithFlags(tmp.path("x.dat"), kModeRead));
    EXPECT_FALSE(second.OpenWithFlags(tmp.path("x.dat"), kModeCreate | kModeWrite));
    first.Close();
    EXPECT_EQ(tmp.read("x.dat"), "abc");  // a refused create-always truncated nothing
    EXPECT_TRUE(second.OpenWithFlags(tmp.path("x.dat"), kModeRead));
}

TEST(FileSystemTest, FoldersAndTheCurrentFolder) {
    TempFolder tmp;
    const std::string name = std::string(SJ("表示ソ"));  // both trail bytes are 0x5C
    EXPECT_TRUE(Fs().CreateFolder(tmp.path(name)));
    EXPECT_FALSE(Fs().CreateFolder(tmp.path(name)));
    EXPECT_TRUE(std::filesystem::is_directory(tmp.host(name)));
    EXPECT_FALSE(Fs().Open(tmp.path(name), OpenRequestFromFlags(kModeRead)));  // a folder is no file

    {
        testing_support::CurrentFolder cd(tmp.path(name));
        EXPECT_EQ(Fs().CurrentFolder(), tmp.path(name));
        ASSERT_TRUE(os::WriteWholeFile(Fs(), "rel.txt", "r"));  // relative to the current folder
    }
    EXPECT_EQ(tmp.read(name + "\\rel.txt"), "r");
    EXPECT_FALSE(Fs().RemoveFolder(tmp.path(name)));  // not empty
    EXPECT_FALSE(Fs().RemoveFile(tmp.path(name)));    // a folder is not removed as a file
    EXPECT_TRUE(Fs().RemoveFile(tmp.path(name + "\\rel.txt")));
    EXPECT_TRUE(Fs().RemoveFolder(tmp.path(name)));
    EXPECT_FALSE(Fs().RemoveFolder(tmp.path(name)));  // gone: each removal answers once
    EXPECT_FALSE(Fs().RemoveFile(tmp.path(name + "\\rel.txt")));
    EXPECT_FALSE(tmp.exists(name));
    EXPECT_FALSE(Fs().SetCurrentFolder(tmp.path("nowhere")));
}

TEST(FileSystemTest, FileNamesKeepTheirShiftJisBytes) {
    TempFolder tmp;
    const std::string name = std::string(SJ("ソフト表.txt"));
    ASSERT_TRUE(os::WriteWholeFile(Fs(), tmp.path(name), "data"));
    EXPECT_TRUE(std::filesystem::exists(tmp.host(name)));
    std::string back;
    ASSERT_TRUE(os::ReadWholeFile(Fs(), tmp.path(name), back));
    EXPECT_EQ(back, "data");
    EXPECT_FALSE(os::ReadWholeFile(Fs(), tmp.path("\x83"), back));  // broken CP932
}

TEST(FileSystemTest, FixedDriveOfTheTempFolder) {
    TempFolder tmp;
    EXPECT_EQ(Fs().DriveTypeOf(tmp.path().substr(0, 3)), os::DriveType::Fixed);
}

}  // namespace
