#include <gtest/gtest.h>

#include "install/installed_record.h"
#include "support/cp932_literal.h"
#include "test_support.h"

namespace {

class NoBox : public setupdata::StartupErrorBox {
public:
    void Show(const std::string&) override {}
};

class InstalledRecord : public ::testing::Test {
protected:
    InstalledRecord() : cd_(medium_.path()) {
        static int counter = 0;
        context_ = std::make_unique<setupdata::SetupContext>(os::SystemServices(), box_);
        context_->registryKeyPath = "Software\\SetupRecordTests\\" +
                                    std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "_" +
                                    std::to_string(++counter) + std::string(SJ("\\ゲーム"));
    }
    os::Registry& registry() { return os::SystemRegistry(); }
    testing_support::TempFolder medium_;
    testing_support::CurrentFolder cd_;
    NoBox box_;
    std::unique_ptr<setupdata::SetupContext> context_;
};

TEST_F(InstalledRecord, TheNewestFolderWins) {
    EXPECT_EQ(install::InstalledFolder(*context_), "");
    ASSERT_TRUE(install::RecordInstallFolder(*context_, "C:\\Games\\A"));
    ASSERT_TRUE(install::RecordInstallFolder(*context_, std::string(SJ("D:\\ゲーム\\表"))));
    EXPECT_EQ(install::InstalledFolder(*context_), std::string(SJ("D:\\ゲーム\\表")));
    os::ValueType type;
    std::string data;
    ASSERT_TRUE(registry().QueryValue(context_->registryKeyPath, "install", 260, type, data));
    EXPECT_EQ(type, os::ValueType::String);
    EXPECT_EQ(data, std::string(SJ("D:\\ゲーム\\表")) + '\0');  // stored with its zero
}

TEST_F(InstalledRecord, OnlyAZeroEndedStringOfAtMost260BytesCounts) {
    const std::string& key = context_->registryKeyPath;
    ASSERT_TRUE(registry().CreateKey(key));
    auto read = [&](os::ValueType type, const std::string& data) {
        EXPECT_TRUE(registry().SetValue(key, "Install", type, data));
        return install::InstalledFolder(*context_);
    };
    EXPECT_EQ(read(os::ValueType::ExpandString, std::string("%ProgramFiles%\\G") + '\0'), "%ProgramFiles%\\G");
    EXPECT_EQ(read(os::ValueType::Dword, std::string("\x01\0\0\0", 4)), "");
    EXPECT_EQ(read(os::ValueType::String, std::string(259, 'a') + '\0'), std::string(259, 'a'));  // 260 bytes
    EXPECT_EQ(read(os::ValueType::String, std::string(260, 'a') + '\0'), "");
    EXPECT_EQ(read(os::ValueType::String, ""), "");  // no data at all
    EXPECT_EQ(read(os::ValueType::String, std::string(1, '\0')), "");
}

}  // namespace
