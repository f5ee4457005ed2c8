#include <gtest/gtest.h>

#include "platform/size_text.h"
#include "setupdata/setup_context.h"
#include "support/cp932_literal.h"
#include "test_support.h"

using namespace setupdata;
using testing_support::CurrentFolder;
using testing_support::TempFolder;

namespace {

class RecordingBox : public StartupErrorBox {
public:
    void Show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

const std::string kFailure(SJ("初期データのロードor登録に失敗しました！"));

std::string ValidSetupIni() {
    SetupData d;
    d.title = "FromFile";
    d.registryRoot = "Software\\File\\";
    d.folders = {"f0", "f1"};
    d.files.push_back(std::make_shared<FileEntry>(FileEntry{2, "x", 5, 1}));
    TempFolder tmp;
    d.writeSetupFile(os::SystemFileSystem(), tmp.path("s.ini"));
    return tmp.read("s.ini");
}

std::string RegistIni(const std::string& fifth) {
    std::string ini = "[" + std::string(SJ("設定")) + "]\r\nName=" + std::string(SJ("登録版")) +
                      "\r\nRegistry=Software\\Reg\\\r\nDXCurrent=DX\\\r\nexec=g.exe\r\nsave=2\r\n[" +
                      std::string(SJ("登録")) + "]\r\ncount=5\r\n";
    for (int i = 0; i < 4; ++i) ini += "regist0" + std::to_string(i) + "=TYPE0,r" + std::to_string(i) + ",a.dat\r\n";
    return ini + "regist04=" + fifth + "\r\n";
}

class Startup : public ::testing::Test {
protected:
    std::unique_ptr<SetupContext> start() { return std::make_unique<SetupContext>(os::SystemServices(), box_); }
    TempFolder medium_;
    RecordingBox box_;
};

TEST_F(Startup, ReadsSetupIniWhenThereIsNoAuthoringFile) {
    medium_.write("Setup.ini", ValidSetupIni());
    CurrentFolder cd(medium_.path());
    auto ctx = start();
    EXPECT_TRUE(box_.shown.empty());
    EXPECT_EQ(ctx->sourceFolder, medium_.path());
    EXPECT_EQ(ctx->setupData->title, "FromFile");
    EXPECT_EQ(ctx->setupData->files.size(), 1u);
    EXPECT_EQ(ctx->mutexName, "FromFile_Running");
    EXPECT_EQ(ctx->registryKeyPath, "Software\\File\\FromFile");
    EXPECT_EQ(ctx->installRoot, "C:\\");
    EXPECT_EQ(ctx->installFolderPath(false), "C:\\");
    EXPECT_EQ(ctx->installFolderPath(true), "C:\\FromFile");
    ctx->installRoot = "D:\\Games";
    EXPECT_EQ(ctx->installFolderPath(true), "D:\\Games\\FromFile");
    EXPECT_EQ(ctx->banner->Handle(), nullptr);  // no Setup.bmp
    EXPECT_EQ(medium_.read("Setup.ini"), ValidSetupIni());
}

TEST_F(Startup, RegistrationRewritesSetupIni) {
    medium_.write("Setup.ini", ValidSetupIni());
    medium_.write("a.dat", "abc");
    medium_.write("SetupRegist.ini", RegistIni("TYPE1,,a.dat"));
    CurrentFolder cd(medium_.path());
    auto ctx = start();
    EXPECT_TRUE(box_.shown.empty());
    EXPECT_EQ(ctx->setupData->title, std::string(SJ("登録版")));
    EXPECT_EQ(ctx->setupData->files.size(), 5u);
    EXPECT_EQ(ctx->mutexName, std::string(SJ("登録版")) + "_Running");
    SetupData written;
    ASSERT_TRUE(written.readSetupFile(os::SystemFileSystem(), medium_.path("Setup.ini")));
    EXPECT_EQ(written.title, ctx->setupData->title);
    EXPECT_EQ(written.folders.size(), 4u);
}

TEST_F(Startup, AFailedRegistrationFallsBackToTheFileAlone) {
    medium_.write("Setup.ini", ValidSetupIni());
    medium_.write("a.dat", "abc");
    medium_.write("SetupRegist.ini", RegistIni("TYPE9,,a.dat"));
    CurrentFolder cd(medium_.path());
    auto ctx = start();
    EXPECT_TRUE(box_.shown.empty());
    EXPECT_EQ(ctx->setupData->title, "FromFile");
    EXPECT_EQ(ctx->setupData->folders, (std::vector<std::string>{"f0", "f1"}));
    ASSERT_EQ(ctx->setupData->files.size(), 1u);
    EXPECT_EQ(ctx->setupData->EntryRelativePath(1, 0), "f1\\x");
    EXPECT_EQ(ctx->setupData->executable, "");  // the file's value replaces the registration's
    EXPECT_EQ(ctx->setupData->saveSlotCount, 0);
}

TEST_F(Startup, NothingToLoadShowsTheBoxOnce) {
    medium_.write("Setup.ini", "[SETUP]2.0");
    CurrentFolder cd(medium_.path());
    auto ctx = start();
    EXPECT_EQ(box_.shown, std::vector<std::string>{kFailure});
    EXPECT_EQ(ctx->setupData->title, std::string(SJ("未登録")));
    EXPECT_EQ(ctx->mutexName, std::string(SJ("未登録")) + "_Running");
}

TEST_F(Startup, TheBannerIsLoadedFromTheMedium) {
    medium_.write("Setup.ini", ValidSetupIni());
    std::string bmp(58, '\0');
    const unsigned char head[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                                  0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1, 0, 24, 0};
    std::copy(std::begin(head), std::end(head), bmp.begin());
    medium_.write("Setup.bmp", bmp);
    CurrentFolder cd(medium_.path());
    auto ctx = start();
    EXPECT_NE(ctx->banner->Handle(), nullptr);
}

TEST(SizeText, ShortFormsOfEveryRange) {
    const struct {
        std::uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "0.977K"},
        {1023, "0.999K"},
        {1024, "  1K"},
        {1536, "1.5K"},
        {1023487, "999K"},
        {1023488, "1e+03K"},
        {1024000, "0.977M"},
        {1048576, "  1M"},
        {681574400, "650M"},
        {5ull << 30, "  5G"},
        {3ull << 40, "  3T"},
        {1000ull << 40, "????"},
        {~0ull, "????"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::FormatSizeText(c.bytes), c.text) << c.bytes;
}

TEST(SizeText, OfAnInstallType) {
    testing_support::TempFolder medium;
    medium.write("Setup.ini", ValidSetupIni());
    RecordingBox box;
    CurrentFolder cd(medium.path());
    SetupContext ctx(os::SystemServices(), box);
    EXPECT_EQ(platform::SizeText(ctx, 0), "0");
    EXPECT_EQ(platform::SizeText(ctx, 1), "5");
}

}  // namespace
