// The portable profile reader and writer against the system's GetPrivateProfileStringA and
// WritePrivateProfileStringA, over files built to trip one or the other.
#include <gtest/gtest.h>
#include <windows.h>

#include "os/profile.h"
#include "support/cp932_literal.h"
#include "test_support.h"

namespace {

using testing_support::TempFolder;

// Only runs meaningfully where the A functions speak CP932.
bool systemSpeaksCp932() { return GetACP() == 932; }

std::string systemRead(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& def, DWORD size) {
    std::string buffer(size + 16, '\x7F');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(), size, path.c_str());
    return buffer.substr(0, n);
}

struct Corpus {
    const char* name;
    std::string bytes;
};

std::vector<Corpus> corpus() {
    const std::string so(SJ("ソ")), settings(SJ("設定")), game(SJ("ゲーム"));
    return {
        {"plain", "[A]\r\nk=v\r\n"},
        {"blank lines", "\r\n\r\n[A]\r\n\r\nk=v\r\n\r\n[B]\r\n\r\nk=w\r\n"},
        {"blanks around", "  [A]  \r\n  k  =  v v  \r\n\tt\t=\tx\t\r\n"},
        {"duplicates", "[A]\r\nk=first\r\nK=second\r\n[a]\r\nk=third\r\nz=only in second\r\n"},
        {"quotes", "[A]\r\nd=\"dq\"\r\ns='sq'\r\nm=\"mixed'\r\ni=a\"b\"\r\nq=\"\r\nqq=\"\"\r\n"},
        {"no final newline", "[A]\r\nk=v"},
        {"lone cr at the end", "[A]\r\nk=v\r"},
        {"lone cr after a key above every section", "top=1\r"},
        {"lf only", "[A]\nk=v\nj=w\n"},
        {"cp932 names", "[" + settings + "]\r\nName=" + game + "\r\n[" + so + "]\r\n" + so + "=" + so + "\r\n"},
        {"long values", "[A]\r\nk=" + std::string(700, 'x') + "\r\nj=" + std::string(509, 'y') + so + "\r\n"},
        {"comments", "; c\r\n[A]\r\n;k=hidden\r\nk=v ; not a comment\r\n"},
        {"no equals", "[A]\r\nbare\r\nk=v\r\n"},
        {"empty values", "[A]\r\ne=\r\nb=   \r\n"},
        {"case", "[Path]\r\nSetupType=128\r\n"},
        {"key before section", "top=1\r\n[A]\r\nk=v\r\n"},
        {"blanks in brackets", "[ A ]\r\nk=inner\r\n[B\r\nk=open\r\n[]\r\ntop=2\r\n"},
    };
}

const std::vector<std::pair<std::string, std::string>>& queries() {
    static const std::vector<std::pair<std::string, std::string>> q = [] {
        const std::string so(SJ("ソ")), settings(SJ("設定"));
        return std::vector<std::pair<std::string, std::string>>{
            {"A", "k"}, {"a", "K"}, {" A ", " k "}, {"A", "t"}, {"B", "k"}, {"A", "z"}, {"a", "z"},
            {"A", "d"}, {"A", "s"}, {"A", "m"}, {"A", "i"}, {"A", "q"}, {"A", "qq"}, {"A", "j"},
            {settings, "name"}, {so, so}, {"A", ";k"}, {"A", "bare"}, {"A", "e"}, {"A", "b"},
            {"PATH", "setuptype"}, {"A", "missing"}, {"Nowhere", "k"}, {"", "top"},
        };
    }();
    return q;
}

TEST(ProfileDifferential, ReadsAgreeWithTheSystem) {
    if (!systemSpeaksCp932()) GTEST_SKIP() << "the system code page is not 932";
    TempFolder tmp;
    auto& fs = os::systemFileSystem();
    int compared = 0;
    for (const Corpus& c : corpus()) {
        const std::string path = tmp.path(std::string(c.name) + ".ini");
        tmp.write(std::string(c.name) + ".ini", c.bytes);
        for (const auto& [section, key] : queries()) {
            for (DWORD size : {512u, 5u, 2u}) {
                std::string ours = os::getProfileString(fs, path, section, key, "DEF", size);
                std::string system = systemRead(path, section, key, "DEF", size);
                if (system.find('\x7F') != std::string::npos) {
                    // The system counted a byte it never wrote (half a character did not fit);
                    // ours stops before the character instead.
                    EXPECT_EQ(ours, "") << c.name << " [" << section << "] " << key << " size " << size;
                    continue;
                }
                EXPECT_EQ(ours, system) << c.name << " [" << section << "] " << key << " size " << size;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 1000);
}

TEST(ProfileDifferential, WritesReadBackAlike) {
    if (!systemSpeaksCp932()) GTEST_SKIP() << "the system code page is not 932";
    TempFolder tmp;
    auto& fs = os::systemFileSystem();
    const std::string so(SJ("ソ"));
    const std::vector<std::array<std::string, 3>> writes = {
        {"A", "k", "new"}, {"a", "NEW", "added"}, {"Fresh", "x", "1"}, {so, so, so + "2"}, {"PATH", "Current", "C:\\G\\"},
    };
    for (const Corpus& c : corpus()) {
        const std::string ours = tmp.path(std::string(c.name) + ".ours.ini");
        const std::string system = tmp.path(std::string(c.name) + ".system.ini");
        tmp.write(std::string(c.name) + ".ours.ini", c.bytes);
        tmp.write(std::string(c.name) + ".system.ini", c.bytes);
        for (const auto& w : writes) {
            ASSERT_TRUE(os::writeProfileString(fs, ours, w[0], w[1], w[2]));
            ASSERT_TRUE(WritePrivateProfileStringA(w[0].c_str(), w[1].c_str(), w[2].c_str(), system.c_str()));
        }
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, system.c_str());  // flush the system's cache
        std::vector<std::pair<std::string, std::string>> probes = queries();
        for (const auto& w : writes) probes.push_back({w[0], w[1]});
        for (const auto& [section, key] : probes)
            EXPECT_EQ(systemRead(ours, section, key, "DEF", 512), systemRead(system, section, key, "DEF", 512))
                << c.name << " [" << section << "] " << key;
    }
    // A file that does not exist yet is created.
    ASSERT_TRUE(os::writeProfileString(fs, tmp.path("created.ini"), "S", "k", "v"));
    EXPECT_EQ(systemRead(tmp.path("created.ini"), "S", "k", "", 512), "v");
}

}  // namespace
