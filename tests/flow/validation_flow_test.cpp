// The checks between Install and the job, with the answers a player gives.
#include "flow/flow_support.h"
#include "forwarding_file_system.h"
#include "install/installed_record.h"
#include "install/validation.h"

namespace flow {
namespace {

using install::InstallChoices;
using install::InstallOptions;

// The real file system reporting a free-space figure of the test's choosing.
class FixedFreeSpace : public testing_support::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    bool FreeBytesAvailable(const std::string&, std::uint64_t& bytes, bool& available) override {
        available = true;
        bytes = freeBytes;
        return true;
    }
    std::uint64_t freeBytes = 0;
};

class Validation : public ::testing::Test {
protected:
    Validation() : fs(os::SystemFileSystem()) {
        s.services = &services;
        s.Start();
        s.context->installRoot = target.path().substr(0, target.path().size() - 1);
    }
    // The medium is asked for, as it lies on a hard disk: the answer is the medium itself.
    bool validateWithMedium(int type = 1) {
        s.ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path()});
        return validate(type);
    }
    bool validate(int type = 1) {
        InstallChoices choices{nullptr, nullptr, type, true, true};
        return install::ValidateInstall(s.ws, *s.context, choices, options);
    }
    std::uint64_t fullSize() { return s.context->setupData->totalSizeOfType(1); }

    FixedFreeSpace fs;
    os::Services services{fs, os::SystemBitmapLoader(), os::SystemRegistry(), os::SystemProcesses(), os::SystemShell()};
    SetupRun s;
    testing_support::TempFolder target;
    InstallOptions options;
};

TEST_F(Validation, FreeSpaceEqualToTheSizePassesOneByteLessFails) {
    fs.freeBytes = fullSize() - 1;
    EXPECT_FALSE(validateWithMedium());
    ASSERT_EQ(s.ws.Boxes().size(), 1u);
    EXPECT_EQ(s.ws.Boxes()[0].text,
              s.context->installRoot.substr(0, 1) + Sj(SJ(" ドライブに十分な空き容量がありません。")));
    EXPECT_EQ(s.ws.Boxes()[0].flags, ui::kMbOk | ui::kMbIconWarning);
    EXPECT_FALSE(target.exists(kTitle));

    fs.freeBytes = fullSize();
    EXPECT_TRUE(validateWithMedium());
    EXPECT_TRUE(target.exists(kTitle));  // created after the question
    EXPECT_EQ(s.ws.Boxes().back().text, Sj(SJ("指定されたフォルダは存在しません。フォルダを作成しますか？")));
    EXPECT_EQ(options.installFolder, target.path() + kTitle);
    EXPECT_EQ(options.sourcePath, s.medium.path());
    EXPECT_EQ(options.installType, 1);
    EXPECT_TRUE(options.addToStartMenu && options.addDesktopShortcut);
}

TEST_F(Validation, NoTypeChosenStopsSilently) {
    fs.freeBytes = ~0ull;
    EXPECT_FALSE(validate(-1));
    EXPECT_TRUE(s.ws.Boxes().empty());
    EXPECT_TRUE(s.ws.Choosers().empty());
}

TEST_F(Validation, TheFolderQuestionAndItsFailure) {
    fs.freeBytes = ~0ull;
    s.ws.QueueAnswer(ui::kIdNo);
    EXPECT_FALSE(validateWithMedium());
    EXPECT_FALSE(target.exists(kTitle));
    EXPECT_EQ(s.ws.Boxes().size(), 1u);

    s.context->installRoot = target.path("missing\\parent");  // one level only: this cannot be made
    EXPECT_FALSE(validateWithMedium());
    ASSERT_EQ(s.ws.Boxes().size(), 3u);
    EXPECT_EQ(s.ws.Boxes()[2].text, Sj(SJ("フォルダの作成に失敗しました。")));
    EXPECT_EQ(s.ws.Boxes()[2].caption, Sj(SJ("エラー")));
}

TEST_F(Validation, TheMediumOnAHardDisk) {
    fs.freeBytes = ~0ull;
    std::filesystem::create_directories(target.host(kTitle));  // no folder question from here on
    s.context->setupData->dataFolder = "Data";
    // A chosen root takes the data folder; a folder below it is the data folder itself.
    const std::string root = s.medium.path().substr(0, 3);
    s.ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, root});
    ASSERT_TRUE(validate());
    EXPECT_EQ(options.sourcePath, root + "Data");
    s.ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path("Data")});
    ASSERT_TRUE(validate());
    EXPECT_EQ(options.sourcePath, s.medium.path("Data"));
    ASSERT_TRUE(validate());  // cancelled: the root of the drive the setup runs from
    EXPECT_EQ(options.sourcePath, root + "Data");
    s.ws.QueueFolderChoice({ui::FolderChoice::Outcome::NoPath, {}});
    EXPECT_FALSE(validate());
    EXPECT_TRUE(s.ws.Boxes().empty());
    const auto& asked = s.ws.Choosers().back();
    EXPECT_EQ(asked.title, Sj(SJ("【『")) + kTitle + Sj(SJ("』を挿入したドライブを指定してください】")));
    EXPECT_EQ(asked.initialPath, std::string(1, s.context->sourceFolder[0]) + ":\\");
}

}  // namespace
}  // namespace flow
