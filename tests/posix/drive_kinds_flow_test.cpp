// The medium and the destination on drives of each kind, through the drive table.
#include "flow/flow_support.h"
#include "install/installed_record.h"
#include "os/posix/drive_table.h"
#include "os/profile.h"

namespace flow {
namespace {

using os::posix::Drive;

class DriveKinds : public ::testing::Test {
protected:
    void SetUp() override { saved_ = os::posix::DriveTable(); }
    void TearDown() override { os::posix::SetDriveTable(saved_); }

    // C: the hard disk to install on, D: the drive of the medium, E: a CD-ROM to install on.
    void Drives(os::DriveType mediumType) {
        os::posix::SetDriveTable({{'C', disk.host().string(), os::DriveType::Fixed},
                                  {'D', s.medium.host().string(), mediumType},
                                  {'E', cd.host().string(), os::DriveType::CdRom},
                                  {'Z', "/", os::DriveType::Fixed}});
    }
    void Install(const std::string& root) {
        s.Then([this](HeadlessWindowSystem&) { s.Click(Welcome::InstallOrUninstall); });
        s.Then([this, root](HeadlessWindowSystem& ws) {
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, root});
            s.Click(Settings::Browse);
            s.Click(Settings::StartMenu);
            s.Click(Settings::DesktopShortcut);
            s.Click(Settings::Install);
        });
    }

    SetupRun s;
    testing_support::TempFolder disk, cd;
    std::vector<Drive> saved_;
};

TEST_F(DriveKinds, FromACdRomNoQuestionIsAsked) {
    s.WriteFiles();
    Drives(os::DriveType::CdRom);
    {
        testing_support::CurrentFolder atRoot("D:\\");
        s.Start();
    }
    EXPECT_EQ(s.context->sourceFolder, "D:\\");
    Install("C:\\");
    s.Then([&](HeadlessWindowSystem& ws) {
        EXPECT_EQ(ws.Boxes().back().text, Sj(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！")));
        EXPECT_EQ(ws.Choosers().size(), 1u);  // only the install root was chosen
    });
    s.Run();
    EXPECT_TRUE(disk.read(kTitle + "\\Voice\\v.pak") == s.medium.read("Voice\\v.pak"));
    EXPECT_EQ(install::InstalledFolder(*s.context), "C:\\" + kTitle);
    std::string cdDrive = os::ReadProfileText(os::SystemFileSystem(), "C:\\" + kTitle + "\\" + kTitle + ".ini", "PATH",
                                              "CDDrive", "", 512);
    EXPECT_EQ(cdDrive, "D:\\");
}

TEST_F(DriveKinds, AMediumOnARemovableDriveIsNotRecognised) {
    s.WriteFiles();
    Drives(os::DriveType::Removable);
    {
        testing_support::CurrentFolder atRoot("D:\\");
        s.Start();
    }
    Install("C:\\");
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().size(), 1u);
        EXPECT_EQ(ws.Boxes()[0].text, Sj(SJ("ドライブが判別できません！")));
        EXPECT_EQ(ws.Boxes()[0].caption, Sj(SJ("インストールエラー")));
        EXPECT_EQ(ws.Boxes()[0].flags, ui::kMbOk | ui::kMbIconError);
        EXPECT_TRUE(s.Visible(202));
    });
    s.Run();
}

TEST_F(DriveKinds, ACdRomIsNoDestination) {
    s.WriteFiles();
    Drives(os::DriveType::CdRom);
    {
        testing_support::CurrentFolder atRoot("D:\\");
        s.Start();
    }
    Install("E:\\");
    s.Then([&](HeadlessWindowSystem& ws) {
        ASSERT_EQ(ws.Boxes().size(), 1u);
        EXPECT_EQ(ws.Boxes()[0].text, Sj(SJ("ドライブ名指定が正しくありません。再入力してください。")));
        EXPECT_EQ(ws.Boxes()[0].caption, Sj(SJ("インストール先のエラー")));
        EXPECT_EQ(s.Text(Settings::InstallFolder), "E:\\" + kTitle);
    });
    s.Run();
    EXPECT_FALSE(cd.exists(kTitle));
}

}  // namespace
}  // namespace flow
