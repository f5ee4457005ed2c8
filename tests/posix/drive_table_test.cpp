#include <gtest/gtest.h>

#include "os/posix/drive_table.h"
#include "support/cp932_literal.h"
#include "test_support.h"

using namespace os::posix;

namespace {

class DriveTableTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = DriveTable(); }
    void TearDown() override { SetDriveTable(saved_); }
    std::vector<Drive> saved_;
};

TEST_F(DriveTableTest, MapsLettersOntoHostFolders) {
    testing_support::TempFolder c, d;
    SetDriveTable(
        {{'C', c.host().string(), os::DriveType::Fixed}, {'D', d.host().string() + "/", os::DriveType::CdRom}});
    std::string host;
    ASSERT_TRUE(ToHostPath("c:\\Games\\" + std::string(SJ("表示")), host));
    EXPECT_EQ(host, c.host().string() + "/Games/表示");
    ASSERT_TRUE(ToHostPath("D:\\", host));
    EXPECT_EQ(host, d.host().string());
    EXPECT_FALSE(ToHostPath("E:\\x", host));
    EXPECT_FALSE(ToHostPath("\\\\server\\share", host));
    ASSERT_TRUE(ToHostPath("Voice\\a.wav", host));
    EXPECT_EQ(host, "Voice/a.wav");

    std::string windows;
    ASSERT_TRUE(ToWindowsPath(d.host().string() + "/Setup/" + "ソ", windows));
    EXPECT_EQ(windows, "D:\\Setup\\" + std::string(SJ("ソ")));
    ASSERT_TRUE(ToWindowsPath(c.host().string(), windows));
    EXPECT_EQ(windows, "C:\\");
    EXPECT_FALSE(ToWindowsPath("/usr", windows));  // no drive holds it

    auto& fs = os::SystemFileSystem();
    EXPECT_EQ(fs.DriveTypeOf("D:\\"), os::DriveType::CdRom);
    EXPECT_EQ(fs.DriveTypeOf("C:\\"), os::DriveType::Fixed);
    EXPECT_EQ(fs.DriveTypeOf("Q:\\"), os::DriveType::NoRootDir);

    // Files made through the table land in the mapped folder, and a rooted path takes the drive
    // of the current folder.
    ASSERT_TRUE(os::WriteWholeFile(fs, "C:\\f.txt", "1"));
    EXPECT_EQ(c.read("f.txt"), "1");
    {
        testing_support::CurrentFolder cd("D:\\");
        EXPECT_EQ(fs.CurrentFolder(), "D:\\");
        ASSERT_TRUE(os::WriteWholeFile(fs, "\\g.txt", "2"));
    }
    EXPECT_EQ(d.read("g.txt"), "2");
}

TEST_F(DriveTableTest, NestedFoldersTakeTheClosestDrive) {
    testing_support::TempFolder outer;
    std::filesystem::create_directories(outer.host() / "inner");
    SetDriveTable({{'E', outer.host().string(), os::DriveType::Fixed},
                   {'F', (outer.host() / "inner").string(), os::DriveType::Removable}});
    std::string windows;
    ASSERT_TRUE(ToWindowsPath((outer.host() / "inner" / "x").string(), windows));
    EXPECT_EQ(windows, "F:\\x");
    ASSERT_TRUE(ToWindowsPath((outer.host() / "innerx").string(), windows));
    EXPECT_EQ(windows, "E:\\innerx");
}

}  // namespace
