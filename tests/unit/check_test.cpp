// The publisher's checks against what the install really does.
#include <gtest/gtest.h>

#include "setupdata/check.h"
#include "setupdata/registration.h"
#include "support/cp932_literal.h"
#include "test_support.h"

using namespace setupdata;
using testing_support::CurrentFolder;
using testing_support::TempFolder;

namespace {

os::FileSystem& Fs() { return os::SystemFileSystem(); }

std::string Authoring(const std::string& dataFolder, const std::string& value, const std::string& exec = "a.wav") {
    return "[" + std::string(SJ("設定")) + "]\r\nName=T\r\nRegistry=R\\\r\nDXCurrent=D\\\r\nexec=" + exec +
           "\r\nfolder=" + dataFolder + "\r\nsave=1\r\n[" + std::string(SJ("登録")) +
           "]\r\ncount=1\r\nregist00=" + value + "\r\n";
}

bool HasFinding(const CheckReport& r, Severity s, const std::string& key, const std::string& text) {
    for (const Finding& f : r.findings)
        if (f.severity == s && f.key == key && f.message.find(text) != std::string::npos) return true;
    return false;
}

// Every data folder, folder token and measured path: check calls the path a trap exactly when the
// install would copy another file than the one measured, which verify then finds by its size.
TEST(Check, TheTrapIsFoundExactlyWhenTheInstallReadsAnotherFile) {
    const std::vector<std::string> paths = {"a.wav", "Voice\\a.wav", "Data\\a.wav", "Data\\Voice\\a.wav",
                                            "Other\\a.wav"};
    int traps = 0, cases = 0;
    for (const std::string dataFolder : {"", "Data", "Data\\"}) {
        for (const std::string folder : {"", "Voice"}) {
            for (const std::string& path : paths) {
                TempFolder tmp;
                for (std::size_t i = 0; i < paths.size(); ++i)
                    tmp.write(paths[i], std::string(i + 1, 'x'));  // sizes differ
                tmp.write("Setup.bmp", "b");
                tmp.write("D\\dxsetup.exe", "d");
                tmp.write("SetupRegist.ini", Authoring(dataFolder, "(TYPE0," + folder + "," + path + ")",
                                                       folder.empty() ? "a.wav" : folder + "\\a.wav"));
                CurrentFolder cd(tmp.path());
                std::string copied =
                    (dataFolder.empty() ? "" : "Data\\") + (folder.empty() ? "" : folder + "\\") + "a.wav";
                const bool trap = copied != path;
                const std::string where = "folder=" + dataFolder + " token=" + folder + " path=" + path;
                CheckReport checked = CheckAuthoringFile(Fs(), tmp.path());
                EXPECT_EQ(HasFinding(checked, Severity::Error, "regist00", "the install copies " + copied), trap)
                    << where;
                SetupData data;
                ASSERT_TRUE(data.registerFromSource(Fs(), tmp.path("SetupRegist.ini"))) << where;
                ASSERT_TRUE(data.writeSetupFile(Fs(), tmp.path("Setup.ini")));
                CheckReport verified = VerifySetupFile(Fs(), tmp.path());
                EXPECT_EQ(verified.count(Severity::Error) > 0, trap) << where;
                EXPECT_EQ(checked.count(Severity::Error) > 0, trap) << where;
                traps += trap;
                ++cases;
            }
        }
    }
    EXPECT_EQ(cases, 30);
    EXPECT_EQ(traps, 24);
}

// Whatever registration refuses, check reports as an error; a clean check registers.
TEST(Check, NeverPassesWhatRegistrationRefuses) {
    const std::vector<std::string> values = {
        "(TYPE0,,a.wav)",
        "(TYPE1,,a.wav)",
        "(type0,,a.wav)",
        "(TYPE0 ,,a.wav)",
        "(TYPE2,,a.wav)",
        "a.wav",
        "()",
        "(TYPE0,,missing.wav)",
        "(TYPE0,,sub)",
        "(TYPE0,..,a.wav)",
        "(TYPE0,,)",
        "(TYPE0,, a.wav)",
        "((TYPE0,,a.wav))",
        "(TYPE0,,a.wav) // note",
        "(TYPE0,,sub\\)",
        "",
    };
    for (const std::string& value : values) {
        TempFolder tmp;
        tmp.write("a.wav", "aaa");
        tmp.write("sub\\x", "x");
        tmp.write("SetupRegist.ini", Authoring("", value));
        CurrentFolder cd(tmp.path());
        SetupData data;
        bool registers = data.registerFromSource(Fs(), tmp.path("SetupRegist.ini"));
        CheckReport checked = CheckAuthoringFile(Fs(), tmp.path());
        if (!registers) {
            EXPECT_GT(checked.count(Severity::Error), 0u) << value;
        }
        bool typeOne = value.find("TYPE1") != std::string::npos;  // exec then misses the voice-less install
        if (registers && !typeOne) {
            EXPECT_EQ(checked.count(Severity::Error), 0u) << value;
        }
    }
}

// Setup.ini alone: a title the setup refuses, a file missing, resized or a folder, a file the
// setup cannot read, and the per-type totals the settings page shows.
TEST(Check, VerifyWalksEachInstallType) {
    TempFolder tmp;
    tmp.write("Data\\a.wav", "aaa");
    tmp.write("Data\\Voice\\b.wav", "bbbbb");
    tmp.write("Data\\Voice\\c.wav\\inside", "");
    tmp.write("Setup.bmp", "b");
    tmp.write("D\\dxsetup.exe", "d");
    SetupData data;
    data.title = "T";
    data.directXFolder = "D\\";
    data.executable = "a.wav";
    data.dataFolder = "Data";
    data.folders = {"Voice"};
    auto add = [&](std::int32_t mask, const std::string& name, std::uint64_t size, std::int32_t folder) {
        data.files.push_back(std::make_shared<FileEntry>(FileEntry{mask, name, size, folder}));
    };
    add(-1, "a.wav", 3, -1);
    add(2, "b.wav", 5, 0);
    ASSERT_TRUE(data.writeSetupFile(Fs(), tmp.path("Setup.ini")));
    CheckReport r = VerifySetupFile(Fs(), tmp.path());
    EXPECT_TRUE(r.findings.empty()) << r.findings[0].message;
    ASSERT_EQ(r.types.size(), 2u);
    EXPECT_EQ(r.types[0].files, 1u);
    EXPECT_EQ(r.types[0].bytes, 3u);
    EXPECT_EQ(r.types[1].files, 2u);
    EXPECT_EQ(r.types[1].bytes, 8u);

    add(2, "b.wav", 4, 0);    // resized
    add(-1, "x.wav", 1, -1);  // missing
    add(2, "c.wav", 0, 0);    // a folder
    data.title = "A:B";
    ASSERT_TRUE(data.writeSetupFile(Fs(), tmp.path("Setup.ini")));
    r = VerifySetupFile(Fs(), tmp.path());
    EXPECT_TRUE(HasFinding(r, Severity::Error, "title", "cannot be a folder name"));
    EXPECT_TRUE(HasFinding(r, Severity::Error, "Data\\Voice\\b.wav", "is 5 bytes, Setup.ini records 4"));
    EXPECT_TRUE(HasFinding(r, Severity::Error, "Data\\x.wav", "missing"));
    EXPECT_TRUE(HasFinding(r, Severity::Error, "Data\\Voice\\c.wav", "is a folder"));
    EXPECT_EQ(r.count(Severity::Error), 4u);
    // What the setup cannot read at all is one error, with the reader's reason.
    add(2, "d.wav", 0, 7);
    ASSERT_TRUE(data.writeSetupFile(Fs(), tmp.path("Setup.ini")));
    r = VerifySetupFile(Fs(), tmp.path());
    ASSERT_EQ(r.findings.size(), 1u);
    EXPECT_EQ(r.findings[0].message, "cannot be read: a file record names a folder that does not exist");
}

// Missing file keys come as runs, however large the count; keys at or above it are named.
TEST(Check, MissingFileKeysAsRuns) {
    TempFolder tmp;
    tmp.write("a.wav", "a");
    std::string ini = Authoring("", "(TYPE0,,a.wav)");
    ini.replace(ini.find("count=1"), 7, "count=2147483647");
    tmp.write("SetupRegist.ini", ini + "regist03=(TYPE0,,a.wav)\r\nregist2147483647=(TYPE0,,a.wav)\r\n");
    CurrentFolder cd(tmp.path());
    CheckReport r = CheckAuthoringFile(Fs(), tmp.path());
    EXPECT_TRUE(HasFinding(r, Severity::Error, "regist01", "regist01 to regist02 are missing: count is 2147483647"));
    EXPECT_TRUE(HasFinding(r, Severity::Error, "regist04", "regist04 to regist2147483646 are missing"));
    EXPECT_TRUE(HasFinding(r, Severity::Warning, "regist2147483647", "not registered: count is 2147483647"));
    EXPECT_EQ(r.count(Severity::Error), 2u);
}

// The names a disc's Joliet tree holds, at each edge, and where check and verify apply them:
// every part of a folder or name, and the whole path below the disc's root.
TEST(Check, DiscNamesAtTheirEdges) {
    const std::string a64(64, 'a'), jp60 = [] {
        std::string s;
        for (int i = 0; i < 60; ++i) s += SJ("あ");
        return s;
    }();
    const struct {
        std::string name;
        const char* problem;  // nullptr: it fits
    } cases[] = {
        {a64, nullptr},
        {a64 + "b", "has 65 characters"},
        {jp60 + ".dat", nullptr},  // 124 bytes of CP932, 64 characters
        {jp60 + "x.dat", "has 65 characters"},
        {"Data\\" + a64, nullptr},
        {a64 + "b\\x.dat", "has 65 characters"},
        {"Voice/" + a64 + "b", "has 65 characters"},
        {"a|b <c>.dat", nullptr},  // Windows refuses these, a disc does not
        {"a;b.dat", "holds \";\""},
        {"a*b", "holds \"*\""},
        {"a?b", "holds \"?\""},
        {"a:b", "holds \":\""},
        {"a\x01b", "holds a control character"},
    };
    for (const auto& c : cases) {
        const std::string problem = DiscNameProblem(c.name);
        if (c.problem)
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.name << ": " << problem;
        else
            EXPECT_EQ(problem, "") << c.name;
    }
    const std::string path120 = a64 + "\\" + std::string(55, 'p');
    EXPECT_EQ(DiscPathProblem(path120), "");
    EXPECT_NE(DiscPathProblem(path120 + "p").find("has 121 characters"), std::string::npos);
    EXPECT_EQ(DiscPathProblem(jp60 + "\\" + std::string(59, 'p')), "");  // 179 bytes of CP932

    // Check reports them on the key's line, verify on the path; the data folder once, on its key.
    TempFolder tmp;
    const std::string longName = a64 + "b.wav";
    tmp.write("L\\" + longName, "x");
    tmp.write("L\\a.wav", "a");
    std::string ini = Authoring("L", "(TYPE0,,L\\" + longName + ")") + "regist01=(TYPE0,,L\\a.wav)\r\n";
    tmp.write("SetupRegist.ini", ini.replace(ini.find("count=1"), 7, "count=2"));
    CurrentFolder cd(tmp.path());
    CheckReport checked = CheckAuthoringFile(Fs(), tmp.path());
    EXPECT_TRUE(HasFinding(checked, Severity::Error, "regist00", "has 69 characters")) << checked.findings[0].message;
    SetupData data;
    ASSERT_TRUE(data.registerFromSource(Fs(), tmp.path("SetupRegist.ini")));
    data.dataFolder = "L;";
    ASSERT_TRUE(data.writeSetupFile(Fs(), tmp.path("Setup.ini")));
    std::filesystem::rename(tmp.host("L"), tmp.host("L;"));
    CheckReport verified = VerifySetupFile(Fs(), tmp.path());
    EXPECT_TRUE(HasFinding(verified, Severity::Error, "folder", "holds \";\""));
    EXPECT_TRUE(HasFinding(verified, Severity::Error, "L;\\" + longName, "has 69 characters"));
    EXPECT_EQ(verified.count(Severity::Error), 2u);
}

}  // namespace
