// Profile files saved as "Unicode" (UTF-16LE with a mark) read and written back as the system's
// profile functions do; everything else is bytes.
#include <gtest/gtest.h>

#include "os/profile.h"
#include "os/profile_encoding.h"
#include "setupdata/registration.h"
#include "setupdata/setup_data.h"
#include "support/cp932_literal.h"
#include "support/system_text.h"
#include "test_support.h"

using testing_support::CurrentFolder;
using testing_support::TempFolder;

namespace {

// UTF-8 text as the bytes of a UTF-16LE file with its mark.
std::string Utf16File(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    auto unit = [&](unsigned u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
        unsigned cp = extra == 0 ? b : (b & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += extra + 1;
        if (cp > 0xFFFF) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

os::FileSystem& Fs() { return os::SystemFileSystem(); }

TEST(ProfileEncoding, Utf16FilesReadAsCp932) {
    TempFolder tmp;
    tmp.write("u.ini", Utf16File("[設定]\r\nName=星降る丘の物語\r\n  exec = ゲーム.exe \r\n"
                                 "accent=Café\r\nemoji=😀\r\nsafe=ｱｲｳ～\r\n[Ωα]\r\nk=v\r\n"));
    const std::string path = tmp.path("u.ini");
    auto get = [&](std::string_view s, std::string_view k) {
        return os::ReadProfileText(Fs(), path, s, k, "DEF", 512);
    };
    EXPECT_EQ(get(SJ("設定"), "name"), SJ("星降る丘の物語"));
    EXPECT_EQ(get(SJ("設定"), "exec"), SJ("ゲーム.exe"));
    EXPECT_EQ(get(SJ("設定"), "safe"), SJ("ｱｲｳ～"));
    EXPECT_EQ(get(SJ("Ωα"), "k"), "v");
    // CP932 has no "é" and no emoji: the values read as missing, never as a lookalike.
    EXPECT_EQ(get(SJ("設定"), "accent"), "DEF");
    EXPECT_EQ(get(SJ("設定"), "emoji"), "DEF");
    EXPECT_FALSE(os::ProfileFile::Load(Fs(), path).HasValue(SJ("設定"), "accent"));
    EXPECT_TRUE(os::ProfileFile::Load(Fs(), path).HasValue(SJ("設定"), "name"));
    // A file of the mark alone, or with an odd byte at its end, is still read.
    tmp.write("odd.ini", Utf16File("[A]\r\nk=v") + "x");
    EXPECT_EQ(os::ReadProfileText(Fs(), tmp.path("odd.ini"), "A", "k", "", 512), "v");
    tmp.write("mark.ini", "\xFF\xFE");
    EXPECT_EQ(os::ReadProfileText(Fs(), tmp.path("mark.ini"), "A", "k", "D", 512), "D");
}

TEST(ProfileEncoding, EveryOtherEncodingIsBytes) {
    TempFolder tmp;
    // UTF-8 with its mark: the mark belongs to the first line, which is then no section header.
    tmp.write("bom8.ini", "\xEF\xBB\xBF[A]\r\nk=v\r\n[B]\r\nk=w\r\n");
    EXPECT_EQ(os::ReadProfileText(Fs(), tmp.path("bom8.ini"), "A", "k", "D", 512), "D");
    EXPECT_EQ(os::ReadProfileText(Fs(), tmp.path("bom8.ini"), "B", "k", "D", 512), "w");
    // UTF-16 big-endian is no "Unicode" profile either.
    tmp.write("be.ini", std::string("\xFE\xFF\0[\0A\0]", 8));
    EXPECT_EQ(os::ReadProfileText(Fs(), tmp.path("be.ini"), "A", "k", "D", 512), "D");
    // UTF-8 without a mark: the bytes as they stand.
    tmp.write("u8.ini", "[A]\r\nk=日本\r\n");
    EXPECT_EQ(os::ReadProfileText(Fs(), tmp.path("u8.ini"), "A", "k", "D", 512), "日本");
}

TEST(ProfileEncoding, EveryCodeUnitSurvivesARoundTrip) {
    // All 65,535 non-zero code units, lone surrogates included, in one file.
    std::string raw = "\xFF\xFE";
    for (unsigned u = 1; u <= 0xFFFF; ++u) {
        raw += static_cast<char>(u & 0xFF);
        raw += static_cast<char>(u >> 8);
    }
    raw += std::string("\0\0", 2);
    EXPECT_EQ(os::Utf16ProfileFromCp932(os::Cp932FromUtf16Profile(raw)), raw);
    // Every CP932 character the system maps comes out as its UTF-16 code unit and back.
    std::string text;
    ASSERT_TRUE(support::FromUtf8("半角ｶﾅ、漢字①№∵￢", text));
    EXPECT_EQ(os::Cp932FromUtf16Profile(os::Utf16ProfileFromCp932(text)), text);
}

TEST(ProfileEncoding, WritesKeepUtf16AndWhatCp932CannotHold) {
    TempFolder tmp;
    const std::string before = "[PATH]\r\nnote=Café 😀\r\nSetupType=0\r\n";
    tmp.write("g.ini", Utf16File(before));
    const std::string path = tmp.path("g.ini");
    ASSERT_TRUE(os::WriteProfileText(Fs(), path, "PATH", "SetupType", "1"));
    ASSERT_TRUE(os::WriteProfileText(Fs(), path, "PATH", "Current", SJ("C:\\ゲーム")));
    ASSERT_TRUE(os::WriteProfileText(Fs(), path, SJ("新しい"), "k", "v"));
    EXPECT_EQ(tmp.read("g.ini"),
              Utf16File("[PATH]\r\nnote=Café 😀\r\nSetupType=1\r\nCurrent=C:\\ゲーム\r\n[新しい]\r\nk=v\r\n"));
    EXPECT_EQ(os::ReadProfileText(Fs(), path, "PATH", "Current", "", 512), SJ("C:\\ゲーム"));
    // A byte file stays bytes.
    tmp.write("b.ini", "[PATH]\r\nSetupType=0\r\n");
    ASSERT_TRUE(os::WriteProfileText(Fs(), tmp.path("b.ini"), "PATH", "SetupType", "1"));
    EXPECT_EQ(tmp.read("b.ini"), "[PATH]\r\nSetupType=1\r\n");
}

TEST(ProfileEncoding, RegistrationReadsAUnicodeAuthoringFile) {
    TempFolder tmp;
    tmp.write("Data\\Voice\\" + std::string(SJ("声.wav")), "12345");
    tmp.write("SetupRegist.ini",
              Utf16File("[設定]\r\nName=星降る丘の物語\r\nRegistry=Software\\Maker\\\r\nDXCurrent=DirectX\\\r\n"
                        "exec=Game.exe\r\nfolder=Data\r\nsave=20\r\n[登録]\r\ncount=1\r\n"
                        "regist00=(TYPE1,Voice,Data\\Voice\\声.wav)\r\n"));
    CurrentFolder cd(tmp.path());
    setupdata::SetupData data;
    ASSERT_TRUE(data.registerFromSource(Fs(), tmp.path("SetupRegist.ini")));
    EXPECT_EQ(data.title, SJ("星降る丘の物語"));
    ASSERT_EQ(data.files.size(), 1u);
    EXPECT_EQ(data.files[0]->name, SJ("声.wav"));
    EXPECT_EQ(data.files[0]->size, 5u);
    // A title CP932 cannot spell is a missing one.
    tmp.write("SetupRegist.ini", Utf16File("[設定]\r\nName=Café\r\n"));
    setupdata::RegistrationError error;
    setupdata::SetupData other;
    EXPECT_FALSE(other.registerFromSource(Fs(), tmp.path("SetupRegist.ini"), &error));
    EXPECT_EQ(error.key, "Name");
    EXPECT_EQ(error.fault, setupdata::RegistrationFault::Missing);
}

}  // namespace
