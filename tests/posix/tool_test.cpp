// The setupdata tool as a publisher runs it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "setupdata/check.h"
#include "support/cp932_literal.h"
#include "test_support.h"
#include "tools/disc_image.h"

using testing_support::TempFolder;

namespace {

struct Result {
    int status;
    std::string out;
};

Result RunTool(const std::string& args, const std::string& environment = "") {
    std::string command = environment + " " + std::string(SETUPDATA_TOOL) + " " + args + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    Result r{-1, {}};
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) r.out.append(buffer, n);
    int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(Tool, DumpsTheWorkedExampleAsJson) {
    TempFolder tmp;
    tmp.write("Setup.ini",
              std::string("[SETUP]2.01\x02\x00"
                          "ab",
                          15) +
                  std::string(8, '\0') +
                  std::string("\x03\0\0\0\x01\0\0\0\x01\0v\x01\0\0\0\x02\0\0\0\x01\0x\x05\0\0\0\0\0\0\0\0\0\0\0", 34));
    Result r = RunTool("dump " + tmp.host("Setup.ini").string() + " --json");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.out,
        "{\n  \"title\": \"ab\",\n  \"registryRoot\": \"\",\n  \"directXFolder\": \"\",\n  \"executable\": \"\",\n"
        "  \"dataFolder\": \"\",\n  \"saveSlotCount\": 3,\n  \"folders\": [\"v\"],\n  \"files\": [\n"
        "    {\"typeMask\": 2, \"name\": \"x\", \"size\": 5, \"folderIndex\": 0}\n  ]\n}\n");
    tmp.write("bad.ini", "[SETUP]2.02");
    r = RunTool("dump " + tmp.host("bad.ini").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("signature"), std::string::npos) << r.out;
    EXPECT_EQ(RunTool("dump").status, 2);
}

TEST(Tool, RegistersTheDemoMedium) {
    TempFolder tmp;
    std::filesystem::copy(DEMO_MEDIUM, tmp.host(), std::filesystem::copy_options::recursive);
    std::filesystem::remove(tmp.host("Setup.ini"));
    Result r = RunTool("register " + tmp.host().string());
    ASSERT_EQ(r.status, 0) << r.out;
    Result dump = RunTool("dump " + tmp.host("Setup.ini").string() + " --json");
    EXPECT_EQ(dump.status, 0);
    EXPECT_NE(dump.out.find("\"title\": \"星降る丘の物語\""), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("\"folders\": [\"Data\", \"Voice\"]"), std::string::npos) << dump.out;
}

TEST(Tool, NamesTheKeyTheReasonAndThePath) {
    TempFolder tmp;
    std::string ini = "[" + std::string(SJ("設定")) + "]\r\nName=T\r\nRegistry=R\\\r\nDXCurrent=D\\\r\nexec=g.exe\r\n" +
                      "save=1\r\n[" + std::string(SJ("登録")) + "]\r\ncount=1\r\nregist00=TYPE1,Voice,Voice\\" +
                      std::string(SJ("声.wav")) + "\r\n";
    tmp.write("SetupRegist.ini", ini);
    Result r = RunTool("register " + tmp.host().string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("SetupRegist.ini:9: error: regist00: file not found on the medium: Voice\\声.wav\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Setup.ini not written"), std::string::npos) << r.out;
    EXPECT_FALSE(tmp.exists("Setup.ini"));
    r = RunTool("register " + tmp.host("nowhere").string());
    EXPECT_EQ(r.status, 1);
}

std::filesystem::path Repository() { return std::filesystem::path(DEMO_MEDIUM).parent_path().parent_path(); }

std::string ReadHost(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every test medium checked, and the demo medium verified as registered, with a file missing and
// with one resized: the reports and exit codes the publisher gets, text and JSON.
TEST(Tool, ChecksAndVerifiesTheTestMediaAsExpected) {
    std::string command = "bash " + (Repository() / "scripts/check-media.sh").string() + " " + SETUPDATA_TOOL + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    EXPECT_EQ(pclose(p), 0);
    const std::string expected = ReadHost(Repository() / "tests/media/expected.txt");
    EXPECT_EQ(out, expected);
    // The trap a new publisher walks into, and a Unicode authoring file that registers.
    EXPECT_NE(expected.find("SetupRegist.ini:12: error: regist01: the install copies Data\\Voice\\a.wav"),
              std::string::npos);
    EXPECT_NE(expected.find("SetupRegist.ini (UTF-16LE): 0 errors, 0 warnings\nexit 0"), std::string::npos);
    EXPECT_NE(expected.find("== verify demo as-registered \nSetup.ini: warning"), std::string::npos);
}

TEST(Tool, RegisterRefusesAMediumWithAnError) {
    TempFolder tmp;
    std::filesystem::copy(Repository() / "tests/media/trap", tmp.host(), std::filesystem::copy_options::recursive);
    Result r = RunTool("register " + tmp.host().string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("SetupRegist.ini:12: error: regist01:"), std::string::npos) << r.out;
    EXPECT_FALSE(tmp.exists("Setup.ini"));
    // Warnings alone do not stop it.
    TempFolder demo;
    std::filesystem::copy(DEMO_MEDIUM, demo.host(), std::filesystem::copy_options::recursive);
    r = RunTool("register " + demo.host().string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("warning: DXCurrent"), std::string::npos) << r.out;
}

TEST(Tool, AUnicodeAuthoringFileRegistersLikeItsShiftJisTwin) {
    TempFolder unicode, shiftJis;
    std::filesystem::copy(Repository() / "tests/media/utf16", unicode.host(), std::filesystem::copy_options::recursive);
    std::filesystem::copy(Repository() / "tests/media/utf16", shiftJis.host(),
                          std::filesystem::copy_options::recursive);
    std::string text =
        "[" + std::string(SJ("設定")) + "]\r\nName=" + std::string(SJ("星降る丘の物語")) +
        "\r\nRegistry=Software\\Maker\\\r\nDXCurrent=DirectX\\\r\nexec=Game.exe\r\nfolder=\r\nsave=20\r\n[" +
        std::string(SJ("登録")) + "]\r\ncount=2\r\nregist00=(TYPE0,,Game.exe)\r\nregist01=(TYPE1,Voice,Voice\\" +
        std::string(SJ("声.wav")) + ")\r\n";
    shiftJis.write("SetupRegist.ini", text);
    ASSERT_EQ(RunTool("register " + unicode.host().string()).status, 0);
    ASSERT_EQ(RunTool("register " + shiftJis.host().string()).status, 0);
    EXPECT_EQ(unicode.read("Setup.ini"), shiftJis.read("Setup.ini"));
    EXPECT_NE(unicode.read("Setup.ini").find(SJ("星降る丘の物語")), std::string::npos);
}

TEST(Tool, HelpAndExitCodes) {
    Result r = RunTool("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"check", "verify", "register", "image", "dump", "Exit status"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    r = RunTool("help check");
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"encoding", "layout", "settings", "file keys", "files", "medium", "disc", "--json"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
    EXPECT_EQ(RunTool("help verify").status, 0);
    EXPECT_EQ(RunTool("help nothing").status, 2);
    for (const char* args :
         {"", "check", "verify a b", "register a --json", "frobnicate x", "image a", "check a --label b"})
        EXPECT_EQ(RunTool(args).status, 2) << args;
    EXPECT_EQ(RunTool("check /nonexistent/medium").status, 1);
}

// The trap a disc sets: a name of 65 characters passes a folder's checks, but not a disc's. Check
// and image refuse it; an image xorriso makes all the same of a name it renames ("a;b.dat") is
// caught when read back from its Joliet tree; at 64 characters the image is made and verified.
TEST(Tool, ImageRefusesWhatADiscRenamesAndVerifiesWhatItHolds) {
    if (std::system("command -v xorriso >/dev/null") != 0) GTEST_SKIP() << "xorriso is not installed";
    TempFolder medium, out;
    std::filesystem::copy(DEMO_MEDIUM, medium.host(), std::filesystem::copy_options::recursive);
    medium.write("Setup.exe", "MZ");
    const std::string authoring = medium.read("SetupRegist.ini");
    auto list = [&](const std::string& name) {
        std::string ini = authoring;
        ini.replace(ini.find("count=7"), 7, "count=8");
        medium.write("SetupRegist.ini", ini + "regist07=(TYPE0,," + name + ")\r\n");
        medium.write(name, "long");
    };
    const std::string name65 = std::string(60, 'a') + std::string(SJ("あ.dat")), name64 = name65.substr(1);
    const std::string dir = medium.host().string(), iso = out.host("demo.iso").string();
    list(name65);
    Result r = RunTool("check " + dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("SetupRegist.ini:19: error: regist07: the name \"" + std::string(60, 'a') +
                         "あ.dat\" has 65 characters"),
              std::string::npos)
        << r.out;
    r = RunTool("image " + dir + " " + iso);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("no image made"), std::string::npos) << r.out;
    EXPECT_FALSE(out.exists("demo.iso"));

    list("a;b.dat");
    {
        testing_support::CurrentFolder cd(medium.path());
        setupdata::SetupData data;
        ASSERT_TRUE(data.registerFromSource(os::SystemFileSystem(), medium.path("SetupRegist.ini")));
        ASSERT_TRUE(data.writeSetupFile(os::SystemFileSystem(), medium.path("Setup.ini")));
    }
    ASSERT_EQ(
        std::system(
            ("xorriso -as mkisofs -input-charset UTF-8 -J -r -o " + iso + " " + dir + " >/dev/null 2>&1").c_str()),
        0);
    os::OpenRequest read;
    read.read = true;
    auto image = os::SystemFileSystem().Open(out.path("demo.iso"), read);
    ASSERT_TRUE(image);
    tools::JolietTree tree;
    std::string reason;
    ASSERT_TRUE(tree.Read(*image, reason)) << reason;
    auto disc = tools::DiscFileSystem(std::move(image), std::move(tree));
    setupdata::CheckReport onDisc = setupdata::VerifySetupFile(*disc, tools::kDiscRoot);
    ASSERT_EQ(onDisc.count(setupdata::Severity::Error), 2u);
    EXPECT_EQ(onDisc.findings[0].key, "a;b.dat");
    EXPECT_EQ(onDisc.findings[0].message, "missing: the install copies it from here");

    std::filesystem::remove(medium.host(name65));
    std::filesystem::remove(medium.host("a;b.dat"));
    std::filesystem::remove(out.host("demo.iso"));
    list(name64);
    ASSERT_EQ(RunTool("register " + dir).status, 0);
    r = RunTool("image " + dir + " " + iso + " --json");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"file\": \"demo.iso\",\n  \"errors\": 0,"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"files\": 6, \"bytes\": 1099150"), std::string::npos) << r.out;
    image = os::SystemFileSystem().Open(out.path("demo.iso"), read);
    ASSERT_TRUE(image && tree.Read(*image, reason)) << reason;
    EXPECT_EQ(tree.Label(), u"星降る丘の物語");
    EXPECT_TRUE(tree.Find(u"Voice\\Voice01.pak"));

    r = RunTool("image " + dir + " " + out.host("again.iso").string(), "PATH=/nonexistent");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("install its package xorriso"), std::string::npos) << r.out;
    EXPECT_EQ(RunTool("image " + dir + " " + dir + "/inside.iso").status, 1);
}

}  // namespace
