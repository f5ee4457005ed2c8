#include <gtest/gtest.h>

#include "setupdata/registration.h"
#include "setupdata/setup_data.h"
#include "support/cp932_literal.h"
#include "test_support.h"

using namespace setupdata;
using testing_support::CurrentFolder;
using testing_support::TempFolder;

namespace {

os::FileSystem& Fs() { return os::SystemFileSystem(); }

const std::string kSettings(SJ("設定"));
const std::string kListing(SJ("登録"));

std::string Header(const std::string& extra = {}) {
    return "[" + kSettings + "]\r\nName=" + std::string(SJ("テスト")) + "\r\nRegistry=Software\\Maker\\\r\n" +
           "DXCurrent=DirectX\\\r\nexec=Game.exe\r\nfolder=\r\nsave=3\r\n" + extra;
}

std::string Listing(const std::vector<std::string>& values, const std::string& count = {}) {
    std::string out = "[" + kListing + "]\r\ncount=" + (count.empty() ? std::to_string(values.size()) : count) + "\r\n";
    for (std::size_t i = 0; i < values.size(); ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "regist%02zu", i);
        if (!values[i].empty()) out += std::string(key) + "=" + values[i] + "\r\n";
    }
    return out;
}

// A medium in a temp folder that is the current folder, as at start-up.
class Medium : public ::testing::Test {
protected:
    Medium() : cd_(tmp_.path()) {
        tmp_.write("a.dat", "12345");
        tmp_.write("Voice\\intro.wav", std::string(100, 'w'));
        tmp_.write("Voice\\b.wav", "bb");
    }
    bool run(const std::string& ini) {
        tmp_.write("SetupRegist.ini", ini);
        error_ = {};
        return data_.registerFromSource(Fs(), tmp_.path("SetupRegist.ini"), &error_);
    }
    TempFolder tmp_;
    CurrentFolder cd_;
    SetupData data_;
    RegistrationError error_;
};

TEST_F(Medium, BuildsTheDescription) {
    ASSERT_TRUE(run(Header() + Listing({"(TYPE0,,a.dat)", "(TYPE1, Voice, Voice\\intro.wav)",
                                        "type1,Voice,Voice\\b.wav // the second line", "((TYPE0,voice,a.dat))"})));
    EXPECT_EQ(data_.title, std::string(SJ("テスト")));
    EXPECT_EQ(data_.registryRoot, "Software\\Maker\\");
    EXPECT_EQ(data_.directXFolder, "DirectX\\");
    EXPECT_EQ(data_.executable, "Game.exe");
    EXPECT_EQ(data_.dataFolder, "");
    EXPECT_EQ(data_.saveSlotCount, 3);
    ASSERT_EQ(data_.files.size(), 4u);
    EXPECT_EQ(data_.folders, (std::vector<std::string>{"Voice", "voice"}));  // case tells folders apart
    const FileEntry& a = *data_.files[0];
    EXPECT_EQ(a.typeMask, -1);
    EXPECT_EQ(a.name, "a.dat");
    EXPECT_EQ(a.size, 5u);
    EXPECT_EQ(a.folderIndex, -1);
    const FileEntry& intro = *data_.files[1];
    EXPECT_EQ(intro.typeMask, 2);
    EXPECT_EQ(intro.name, "intro.wav");
    EXPECT_EQ(intro.size, 100u);
    EXPECT_EQ(intro.folderIndex, 0);
    EXPECT_EQ(data_.files[2]->folderIndex, 0);  // the folder is listed once
    EXPECT_EQ(data_.files[2]->name, "b.wav");
    EXPECT_EQ(data_.files[3]->folderIndex, 1);
    EXPECT_EQ(data_.EntryRelativePath(1, 1), "Voice\\intro.wav");
    EXPECT_EQ(data_.totalSizeOfType(0), 10u);
    EXPECT_EQ(data_.totalSizeOfType(1), 112u);
}

TEST_F(Medium, CountsAndMissingKeys) {
    EXPECT_TRUE(run(Header() + Listing({}, "0")));
    EXPECT_TRUE(data_.files.empty());
    EXPECT_FALSE(run(Header() + Listing({"TYPE0,,a.dat", "", "TYPE0,,a.dat"})));
    EXPECT_EQ(error_.key, "regist01");
    EXPECT_EQ(error_.fault, RegistrationFault::Missing);
    EXPECT_FALSE(run(Header() + Listing({"TYPE0,,a.dat"}, "-1")));  // runs until a key is missing
    EXPECT_EQ(error_.key, "regist01");
    EXPECT_FALSE(run(Header()));
    EXPECT_EQ(error_.key, "count");
    SetupData none;
    EXPECT_FALSE(none.registerFromSource(Fs(), tmp_.path("absent.ini")));
    EXPECT_EQ(none.title, std::string(SJ("未登録")));  // the reader's default stays behind
}

TEST_F(Medium, ReportsEachFault) {
    struct Case {
        std::string ini;
        const char* key;
        RegistrationFault fault;
    } cases[] = {
        {"[" + kSettings + "]\r\nName=  // only a comment\r\n", "Name", RegistrationFault::Empty},
        {"[" + kSettings + "]\r\nName=" + std::string(SJ("未登録")) + "\r\n", "Name", RegistrationFault::Unregistered},
        {"[" + kSettings + "]\r\nName=x\r\nRegistry=r\r\nexec=e\r\n", "DXCurrent", RegistrationFault::Missing},
        {Header() + Listing({"()"}), "regist00", RegistrationFault::Empty},
        {Header() + Listing({"TYPE0 a.dat"}), "regist00", RegistrationFault::NoTypeToken},
        {Header() + Listing({"TYPE2,,a.dat"}), "regist00", RegistrationFault::UnknownTypeToken},
        {Header() + Listing({"TYPE1 ,,a.dat"}), "regist00", RegistrationFault::UnknownTypeToken},
        {Header() + Listing({"TYPE0,,missing.dat"}), "regist00", RegistrationFault::CannotOpen},
        {Header() + Listing({"TYPE0,,Voice"}), "regist00", RegistrationFault::CannotOpen},  // a folder
        {Header() + Listing({"TYPE0,,Voice\\"}), "regist00", RegistrationFault::CannotOpen},
        {Header() + Listing({"TYPE0,..,a.dat"}), "regist00", RegistrationFault::UnsafeName},
        {Header() + Listing({"TYPE0,C:\\Windows,a.dat"}), "regist00", RegistrationFault::UnsafeName},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(run(c.ini)) << c.key;
        EXPECT_EQ(error_.key, c.key);
        EXPECT_EQ(error_.fault, c.fault) << c.key << ": " << Describe(error_.fault);
    }
}

TEST_F(Medium, AnOpenFileCannotBeMeasured) {
    auto held =
        Fs().Open(tmp_.path("a.dat"), os::OpenRequest{true, false, false, false, os::Disposition::OpenExisting, true});
    ASSERT_TRUE(held);
    EXPECT_FALSE(run(Header() + Listing({"TYPE0,,a.dat"})));
    EXPECT_EQ(error_.fault, RegistrationFault::CannotOpen);
    EXPECT_EQ(error_.path, "a.dat");
}

TEST_F(Medium, FilesOfFourGigabytesAreMeasuredInFull) {
    std::filesystem::resize_file(tmp_.host("a.dat"), (5ull << 30) + 3);
    ASSERT_TRUE(run(Header() + Listing({"TYPE0,,a.dat"})));
    EXPECT_EQ(data_.files[0]->size, (5ull << 30) + 3);
}

TEST(ProfileInt, ConvertsLikeTheSetupAlwaysHas) {
    EXPECT_EQ(ConvertProfileInt("10"), 10);
    EXPECT_EQ(ConvertProfileInt("0Ah"), 10);
    EXPECT_EQ(ConvertProfileInt("0x0A"), 10);
    EXPECT_EQ(ConvertProfileInt("0X1f"), 31);
    EXPECT_EQ(ConvertProfileInt("-3"), -3);
    EXPECT_EQ(ConvertProfileInt("3x"), 0);
    EXPECT_EQ(ConvertProfileInt("-1h"), 0);  // no sign in base 16
    EXPECT_EQ(ConvertProfileInt("h"), 0);
    EXPECT_EQ(ConvertProfileInt("4294967297"), 1);  // wraps in 32 bits
    EXPECT_EQ(ConvertProfileInt("FFFFFFFFh"), -1);
    EXPECT_EQ(ConvertProfileInt("0x"), 0);
}

TEST(ProfileReaders, TrimCommentsAndDefaults) {
    TempFolder tmp;
    tmp.write("p.ini",
              "[S]\r\na= value // note\r\nb=\t\r\nc=" + std::string(SJ("未登録")) + "\r\nn=0x10 //x\r\nq=\"x\"\r\n");
    std::string out = "old";
    EXPECT_FALSE(ReadProfileString(Fs(), "", "S", "a", out));
    EXPECT_EQ(out, "old");
    EXPECT_TRUE(ReadProfileString(Fs(), tmp.path("p.ini"), "S", "a", out));
    EXPECT_EQ(out, "value");
    EXPECT_FALSE(ReadProfileString(Fs(), tmp.path("p.ini"), "S", "b", out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(ReadProfileString(Fs(), tmp.path("p.ini"), "S", "c", out));
    EXPECT_FALSE(ReadProfileString(Fs(), tmp.path("p.ini"), "S", "zz", out));
    EXPECT_EQ(out, std::string(SJ("未登録")));
    EXPECT_TRUE(ReadProfileString(Fs(), tmp.path("p.ini"), "S", "q", out));
    EXPECT_EQ(out, "x");
    std::int32_t n = 99;
    EXPECT_TRUE(ReadProfileInt(Fs(), tmp.path("p.ini"), "S", "n", n));
    EXPECT_EQ(n, 16);
    EXPECT_FALSE(ReadProfileInt(Fs(), tmp.path("p.ini"), "S", "b", n));
    EXPECT_EQ(n, 16);
}

}  // namespace
