// The setupdata tool as a publisher runs it.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/cp932_literal.h"
#include "test_support.h"

using testing_support::TempFolder;

namespace {

struct Result {
    int status;
    std::string out;
};

Result run(const std::string& args) {
    std::string command = std::string(SETUPDATA_TOOL) + " " + args + " 2>&1";
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
    tmp.write("Setup.ini", std::string("[SETUP]2.01\x02\x00" "ab", 15) + std::string(8, '\0') +
                               std::string("\x03\0\0\0\x01\0\0\0\x01\0v\x01\0\0\0\x02\0\0\0\x01\0x\x05\0\0\0\0\0\0\0\0\0\0\0", 34));
    Result r = run("dump " + tmp.host("Setup.ini").string() + " --json");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "{\n  \"title\": \"ab\",\n  \"registryRoot\": \"\",\n  \"directXFolder\": \"\",\n  \"executable\": \"\",\n"
              "  \"dataFolder\": \"\",\n  \"saveSlotCount\": 3,\n  \"folders\": [\"v\"],\n  \"files\": [\n"
              "    {\"typeMask\": 2, \"name\": \"x\", \"size\": 5, \"folderIndex\": 0}\n  ]\n}\n");
    tmp.write("bad.ini", "[SETUP]2.02");
    r = run("dump " + tmp.host("bad.ini").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("signature"), std::string::npos) << r.out;
    EXPECT_EQ(run("dump").status, 2);
}

TEST(Tool, RegistersTheDemoMedium) {
    TempFolder tmp;
    std::filesystem::copy(DEMO_MEDIUM, tmp.host(), std::filesystem::copy_options::recursive);
    std::filesystem::remove(tmp.host("Setup.ini"));
    Result r = run("register " + tmp.host().string());
    ASSERT_EQ(r.status, 0) << r.out;
    Result dump = run("dump " + tmp.host("Setup.ini").string() + " --json");
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
    Result r = run("register " + tmp.host().string());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "setupdata: regist00: file cannot be opened: Voice\\声.wav\n");
    EXPECT_FALSE(tmp.exists("Setup.ini"));
    r = run("register " + tmp.host("nowhere").string());
    EXPECT_EQ(r.status, 1);
}

}  // namespace
