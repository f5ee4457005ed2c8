// The portable profile reader and writer against the system's GetPrivateProfileStringA and
// WritePrivateProfileStringA, over files built to trip one or the other.
#include <windows.h>
#include <gtest/gtest.h>

#include "os/profile.h"
#include "support/cp932_literal.h"
#include "test_support.h"

namespace {

using testing_support::TempFolder;

// Only runs meaningfully where the A functions speak CP932.
bool SystemSpeaksCp932() { return GetACP() == 932; }

std::string SystemRead(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& def, DWORD size) {
    std::string buffer(size + 16, '\x7F');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(), size, path.c_str());
    return buffer.substr(0, n);
}

// The same text saved as "Unicode": the mark and UTF-16LE, converted by the system.
std::string AsUtf16(const std::string& cp932) {
    std::wstring wide(cp932.size() + 1, L'\0');
    int n = MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), wide.data(),
                                static_cast<int>(wide.size()));
    std::string out = "\xFF\xFE";
    for (int i = 0; i < n; ++i) {
        out += static_cast<char>(wide[i] & 0xFF);
        out += static_cast<char>(wide[i] >> 8);
    }
    return out;
}

struct Corpus {
    const char* name;
    std::string bytes;
};

std::vector<Corpus> CorpusFiles() {
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

// Each file of the corpus once as bytes and once saved as "Unicode".
std::vector<Corpus> BothEncodings() {
    std::vector<Corpus> out;
    for (Corpus& c : CorpusFiles()) {
        out.push_back({c.name, c.bytes});
        out.push_back({c.name, AsUtf16(c.bytes)});
    }
    return out;
}

std::string FileName(const Corpus& c) {
    bool utf16 = c.bytes.size() >= 2 && c.bytes.compare(0, 2, "\xFF\xFE") == 0;
    return std::string(c.name) + (utf16 ? ".utf16" : "");
}

const std::vector<std::pair<std::string, std::string>>& Queries() {
    static const std::vector<std::pair<std::string, std::string>> q = [] {
        const std::string so(SJ("ソ")), settings(SJ("設定"));
        return std::vector<std::pair<std::string, std::string>>{
            {"A", "k"},       {"a", "K"},       {" A ", " k "},
            {"A", "t"},       {"B", "k"},       {"A", "z"},
            {"a", "z"},       {"A", "d"},       {"A", "s"},
            {"A", "m"},       {"A", "i"},       {"A", "q"},
            {"A", "qq"},      {"A", "j"},       {settings, "name"},
            {so, so},         {"A", ";k"},      {"A", "bare"},
            {"A", "e"},       {"A", "b"},       {"PATH", "setuptype"},
            {"A", "missing"}, {"Nowhere", "k"}, {"", "top"},
        };
    }();
    return q;
}

TEST(ProfileDifferential, ReadsAgreeWithTheSystem) {
    if (!SystemSpeaksCp932()) GTEST_SKIP() << "the system code page is not 932";
    TempFolder tmp;
    auto& fs = os::SystemFileSystem();
    int compared = 0;
    for (const Corpus& c : BothEncodings()) {
        const std::string name = FileName(c);
        const std::string path = tmp.path(name + ".ini");
        tmp.write(name + ".ini", c.bytes);
        for (const auto& [section, key] : Queries()) {
            for (DWORD size : {512u, 5u, 2u}) {
                std::string ours = os::ReadProfileText(fs, path, section, key, "DEF", size);
                std::string system = SystemRead(path, section, key, "DEF", size);
                if (system.find('\x7F') != std::string::npos) {
                    // The system counted a byte it never wrote (half a character did not fit);
                    // ours stops before the character instead.
                    EXPECT_EQ(ours, "") << name << " [" << section << "] " << key << " size " << size;
                    continue;
                }
                EXPECT_EQ(ours, system) << name << " [" << section << "] " << key << " size " << size;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 2000);
}

TEST(ProfileDifferential, WritesReadBackAlike) {
    if (!SystemSpeaksCp932()) GTEST_SKIP() << "the system code page is not 932";
    TempFolder tmp;
    auto& fs = os::SystemFileSystem();
    const std::string so(SJ("ソ"));
    const std::vector<std::array<std::string, 3>> writes = {
        {"A", "k", "new"},  {"a", "NEW", "added"},          {"Fresh", "x", "1"},
        {so, so, so + "2"}, {"PATH", "Current", "C:\\G\\"},
    };
    for (const Corpus& c : BothEncodings()) {
        const std::string name = FileName(c);
        const std::string ours = tmp.path(name + ".ours.ini");
        const std::string system = tmp.path(name + ".system.ini");
        tmp.write(name + ".ours.ini", c.bytes);
        tmp.write(name + ".system.ini", c.bytes);
        for (const auto& w : writes) {
            ASSERT_TRUE(os::WriteProfileText(fs, ours, w[0], w[1], w[2]));
            ASSERT_TRUE(WritePrivateProfileStringA(w[0].c_str(), w[1].c_str(), w[2].c_str(), system.c_str()));
        }
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, system.c_str());  // flush the system's cache
        std::vector<std::pair<std::string, std::string>> probes = Queries();
        for (const auto& w : writes) probes.push_back({w[0], w[1]});
        for (const auto& [section, key] : probes)
            EXPECT_EQ(SystemRead(ours, section, key, "DEF", 512), SystemRead(system, section, key, "DEF", 512))
                << name << " [" << section << "] " << key;
        // Both stay in the encoding they were found in.
        auto marked = [&](const std::string& file) { return tmp.read(file).compare(0, 2, "\xFF\xFE") == 0; };
        EXPECT_EQ(marked(name + ".ours.ini"), marked(name + ".system.ini")) << name;
    }
    // A file that does not exist yet is created.
    ASSERT_TRUE(os::WriteProfileText(fs, tmp.path("created.ini"), "S", "k", "v"));
    EXPECT_EQ(SystemRead(tmp.path("created.ini"), "S", "k", "", 512), "v");
}

// A value with a character CP932 cannot hold: the system answers a lookalike or "?", which would
// name another file or folder; ours reads it as missing. Its neighbours read alike.
TEST(ProfileDifferential, Utf16ValuesBeyondCp932ReadAsMissing) {
    if (!SystemSpeaksCp932()) GTEST_SKIP() << "the system code page is not 932";
    TempFolder tmp;
    auto& fs = os::SystemFileSystem();
    std::string raw = AsUtf16("[A]\r\nbefore=1\r\n");
    for (wchar_t c : std::wstring(L"accent=Caf\u00E9\r\nhangul=\uD55C\r\nafter=2\r\n")) {
        raw += static_cast<char>(c & 0xFF);
        raw += static_cast<char>(c >> 8);
    }
    tmp.write("beyond.ini", raw);
    const std::string path = tmp.path("beyond.ini");
    for (const char* key : {"accent", "hangul"}) {
        EXPECT_NE(SystemRead(path, "A", key, "DEF", 512), "DEF") << key;
        EXPECT_EQ(os::ReadProfileText(fs, path, "A", key, "DEF", 512), "DEF") << key;
    }
    for (const char* key : {"before", "after"})
        EXPECT_EQ(os::ReadProfileText(fs, path, "A", key, "DEF", 512), SystemRead(path, "A", key, "DEF", 512)) << key;
    // Writing another key keeps those characters for the system to read back.
    ASSERT_TRUE(os::WriteProfileText(fs, path, "A", "after", "3"));
    EXPECT_EQ(tmp.read("beyond.ini"), raw.substr(0, raw.size() - 6) + std::string("3\0\r\0\n\0", 6));
}

}  // namespace
