#include <gtest/gtest.h>

#include "os/profile.h"
#include "support/cp932_literal.h"
#include "test_support.h"

using os::ProfileFile;

namespace {

std::string Get(const std::string& bytes, const std::string& section, const std::string& key, std::size_t size = 512,
                const std::string& def = "DEF") {
    return ProfileFile(bytes).GetString(section, key, def, size);
}

TEST(ProfileRead, FindsSectionsAndKeysLikeTheSystem) {
    const std::string file =
        "; comment line\r\n"
        "top=before any section\r\n"
        "[Main]\r\n"
        "  Name = Value with  blanks  \r\n"
        "name=second is ignored\r\n"
        "quoted=\"in quotes\"\r\n"
        "single='x'\r\n"
        "mixed=\"x'\r\n"
        "inner=a\"b\"\r\n"
        "empty=\r\n"
        "novalue\r\n"
        ";hidden=1\r\n"
        "\r\n"
        "[ main ]\r\n"
        "other=in the duplicate section\r\n"
        "[Next]\n"
        "lf=unix line\n"
        "last=no final newline";
    EXPECT_EQ(Get(file, "MAIN", "NAME"), "Value with  blanks");
    EXPECT_EQ(Get(file, " main ", " name "), "Value with  blanks");
    EXPECT_EQ(Get(file, "Main", "quoted"), "in quotes");
    EXPECT_EQ(Get(file, "Main", "single"), "x");
    EXPECT_EQ(Get(file, "Main", "mixed"), "\"x'");
    EXPECT_EQ(Get(file, "Main", "inner"), "a\"b\"");
    EXPECT_EQ(Get(file, "Main", "empty"), "");
    EXPECT_EQ(Get(file, "Main", "novalue"), "DEF");
    EXPECT_EQ(Get(file, "Main", ";hidden"), "1");  // the system reads ";" lines as keys
    EXPECT_EQ(Get(file, "", "top"), "before any section");
    EXPECT_EQ(Get(file, "Main", "other"), "DEF");  // the first matching section wins
    EXPECT_EQ(Get(file, "Main", "missing"), "DEF");
    EXPECT_EQ(Get(file, "Nowhere", "Name"), "DEF");
    EXPECT_EQ(Get(file, "Next", "lf"), "unix line");
    EXPECT_EQ(Get(file, "Next", "last"), "no final newline");
    EXPECT_EQ(Get(file, "Main", "missing", 512, "trailing  "), "trailing");
    EXPECT_EQ(Get("", "a", "b"), "DEF");
}

TEST(ProfileRead, ShiftJisNamesAndCuts) {
    const std::string so(SJ("ソ"));
    const std::string file = std::string("[") + std::string(SJ("設定")) + "]\r\nName=" + std::string(SJ("ゲーム")) +
                             "\r\n[" + so + "]\r\nk=" + std::string(600, 'v') + "\r\nj=ab" + so + "\r\n";
    EXPECT_EQ(Get(file, std::string(SJ("設定")), "name"), std::string(SJ("ゲーム")));
    EXPECT_EQ(Get(file, so, "k").size(), 511u);
    EXPECT_EQ(Get(file, so, "k", 4), "vvv");
    EXPECT_EQ(Get(file, so, "j", 4), "ab");  // never half a character
    EXPECT_EQ(Get(file, so, "j", 5), "ab" + so);
    EXPECT_EQ(Get(file, so, "j", 0), "");
}

TEST(ProfileWrite, ChangesOnlyWhatItMust) {
    ProfileFile p("; keep me\r\n[PATH]\r\n  SetupType = 0  ; odd\r\nCurrent=C:\\Old\\\r\n\r\n[Other]\r\nx=1\r\n");
    p.SetString("path", "setuptype", "128");
    EXPECT_EQ(p.Bytes(), "; keep me\r\n[PATH]\r\n  SetupType=128\r\nCurrent=C:\\Old\\\r\n\r\n[Other]\r\nx=1\r\n");
    p.SetString("PATH", "CDDrive", "D:\\");
    EXPECT_EQ(p.Bytes(),
              "; keep me\r\n[PATH]\r\n  SetupType=128\r\nCurrent=C:\\Old\\\r\nCDDrive=D:\\\r\n\r\n[Other]\r\nx=1\r\n");
    p.SetString("New", "k", "v");
    EXPECT_EQ(p.GetString("new", "K", "", 512), "v");
    EXPECT_EQ(p.Bytes().substr(p.Bytes().size() - 12), "[New]\r\nk=v\r\n");

    ProfileFile unterminated("[A]\na=1");
    unterminated.SetString("A", "b", "2");
    EXPECT_EQ(unterminated.Bytes(), "[A]\na=1\r\nb=2\r\n");
    ProfileFile empty;
    empty.SetString("S", "k", "v");
    EXPECT_EQ(empty.Bytes(), "[S]\r\nk=v\r\n");

    // A last line that ends in a lone CR is completed, not given a second CR in its value.
    ProfileFile loneCr("[A]\r\nk=v\r");
    loneCr.SetString("A", "j", "2");
    EXPECT_EQ(loneCr.Bytes(), "[A]\r\nk=v\r\nj=2\r\n");
    EXPECT_EQ(loneCr.GetString("A", "k", "", 512), "v");
    ProfileFile loneCrNewSection("k=v\r");
    loneCrNewSection.SetString("S", "j", "2");
    EXPECT_EQ(loneCrNewSection.Bytes(), "k=v\r\n[S]\r\nj=2\r\n");
    EXPECT_EQ(loneCrNewSection.GetString("", "k", "", 512), "v");
}

TEST(ProfileWrite, CreatesAndUpdatesFiles) {
    testing_support::TempFolder tmp;
    auto& fs = os::SystemFileSystem();
    const std::string path = tmp.path(std::string(SJ("ゲーム.ini")));
    ASSERT_TRUE(os::WriteProfileText(fs, path, "PATH", "Current", "C:\\Games\\"));
    ASSERT_TRUE(os::WriteProfileText(fs, path, "PATH", "Current", "D:\\"));
    ASSERT_TRUE(os::WriteProfileText(fs, path, "PATH", "SetupType", "0"));
    EXPECT_EQ(tmp.read(std::string(SJ("ゲーム.ini"))), "[PATH]\r\nCurrent=D:\\\r\nSetupType=0\r\n");
    EXPECT_EQ(os::ReadProfileText(fs, path, "path", "current", "", 512), "D:\\");
    EXPECT_EQ(os::ReadProfileText(fs, tmp.path("none.ini"), "a", "b", "dflt", 512), "dflt");
    EXPECT_FALSE(os::WriteProfileText(fs, tmp.path("no\\such\\x.ini"), "a", "b", "c"));
}

}  // namespace
