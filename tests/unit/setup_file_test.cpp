#include <gtest/gtest.h>

#include "setupdata/setup_data.h"
#include "support/cp932_literal.h"
#include "test_support.h"

using setupdata::FileEntry;
using setupdata::SetupData;
using testing_support::TempFolder;

namespace {

os::FileSystem& Fs() { return os::SystemFileSystem(); }

const std::string kExample(
    "\x5B\x53\x45\x54\x55\x50\x5D\x32\x2E\x30\x31"
    "\x02\x00\x61\x62"
    "\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x03\x00\x00\x00"
    "\x01\x00\x00\x00"
    "\x01\x00\x76"
    "\x01\x00\x00\x00"
    "\x02\x00\x00\x00"
    "\x01\x00\x78"
    "\x05\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00",
    57);

SetupData Example() {
    SetupData d;
    d.title = "ab";
    d.saveSlotCount = 3;
    d.folders = {"v"};
    d.files.push_back(std::make_shared<FileEntry>(FileEntry{2, "x", 5, 0}));
    return d;
}

TEST(SetupFile, WorkedExampleByteForByte) {
    TempFolder tmp;
    ASSERT_TRUE(Example().writeSetupFile(Fs(), tmp.path("Setup.ini")));
    EXPECT_EQ(tmp.read("Setup.ini"), kExample);

    SetupData d;
    ASSERT_TRUE(d.readSetupFile(Fs(), tmp.path("Setup.ini")));
    EXPECT_EQ(d.title, "ab");
    EXPECT_EQ(d.saveSlotCount, 3);
    EXPECT_EQ(d.folders, std::vector<std::string>{"v"});
    ASSERT_EQ(d.files.size(), 1u);
    EXPECT_EQ(d.files[0]->typeMask, 2);
    EXPECT_EQ(d.files[0]->name, "x");
    EXPECT_EQ(d.files[0]->size, 5u);
    EXPECT_EQ(d.files[0]->folderIndex, 0);
    EXPECT_EQ(d.EntryRelativePath(1, 0), "v\\x");
    EXPECT_EQ(d.EntryRelativePath(0, 0), "");
    EXPECT_EQ(d.EntryRelativePath(1, 1), "");
}

TEST(SetupFile, RoundTripKeepsEverything) {
    TempFolder tmp;
    SetupData d;
    d.title = std::string(SJ("ゲーム『ソ』"));
    d.registryRoot = "Software\\Maker\\";
    d.directXFolder = "DirectX\\";
    d.executable = "Game.exe";
    d.dataFolder = "Data";
    d.saveSlotCount = -7;
    d.folders = {"Voice", std::string(SJ("表示")) + "\\Sub"};
    d.files.push_back(std::make_shared<FileEntry>(FileEntry{-1, "a.pak", 0x123456789ABull, -1}));
    d.files.push_back(std::make_shared<FileEntry>(FileEntry{2, std::string(SJ("音声.wav")), 0, 1}));
    ASSERT_TRUE(d.writeSetupFile(Fs(), tmp.path("s.ini")));
    SetupData r;
    ASSERT_TRUE(r.readSetupFile(Fs(), tmp.path("s.ini")));
    EXPECT_EQ(r.title, d.title);
    EXPECT_EQ(r.registryRoot, d.registryRoot);
    EXPECT_EQ(r.directXFolder, d.directXFolder);
    EXPECT_EQ(r.executable, d.executable);
    EXPECT_EQ(r.dataFolder, d.dataFolder);
    EXPECT_EQ(r.saveSlotCount, -7);
    EXPECT_EQ(r.folders, d.folders);
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_EQ(r.files[0]->size, 0x123456789ABull);  // the high half survives, low half first
    const std::string bytes = tmp.read("s.ini");    // the second record takes the last 26 bytes
    EXPECT_EQ(bytes.substr(bytes.size() - 26 - 4 - 8, 8), std::string("\xAB\x89\x67\x45\x23\x01\x00\x00", 8));
    EXPECT_EQ(r.files[1]->name, d.files[1]->name);
    EXPECT_EQ(r.files[1]->folderIndex, 1);
}

// Counts are taken on trust only as far as the file goes: a claim of four billion entries that ends
// after two stops there, with two entries in memory and nothing reserved for the rest.
TEST(SetupFile, AnEnormousCountThatEndsEarlyFailsAtOnce) {
    TempFolder tmp;
    const std::string header = kExample.substr(0, 27);  // signature, strings, slots
    const std::string many("\xFF\xFF\xFF\xFF", 4), none("\x00\x00\x00\x00", 4);
    const std::string record("\x02\x00\x00\x00\x01\x00x\x05\x00\x00\x00\x00\x00\x00\x00\xFF\xFF\xFF\xFF", 19);
    tmp.write("folders.ini", header + many + std::string("\x01\x00v\x01\x00w", 6));
    tmp.write("files.ini", header + none + many + record + record);
    SetupData d;
    EXPECT_FALSE(d.readSetupFile(Fs(), tmp.path("folders.ini")));
    EXPECT_EQ(d.folders.size(), 2u);
    EXPECT_LT(d.folders.capacity(), 64u);
    SetupData e;
    std::string reason;
    EXPECT_FALSE(e.readSetupFile(Fs(), tmp.path("files.ini"), &reason));
    EXPECT_EQ(reason, "the file ends inside a file record");
    EXPECT_EQ(e.files.size(), 2u);
    EXPECT_LT(e.files.capacity(), 64u);
}

TEST(SetupFile, ReaderRejectsDamagedFiles) {
    TempFolder tmp;
    auto readFails = [&](const std::string& bytes) {
        tmp.write("bad.ini", bytes);
        SetupData d;
        return !d.readSetupFile(Fs(), tmp.path("bad.ini"));
    };
    EXPECT_TRUE(readFails(kExample.substr(0, 11)));               // the signature alone
    EXPECT_TRUE(readFails("[setup]2.01" + kExample.substr(11)));  // letter case counts
    std::string withNul = kExample;
    withNul[5] = '\0';
    EXPECT_TRUE(readFails(withNul));
    EXPECT_TRUE(readFails(""));
    SetupData missing;
    EXPECT_FALSE(missing.readSetupFile(Fs(), tmp.path("none.ini")));

    // Cut inside the last record's size: the entries before it stay.
    std::string two = kExample.substr(0, 34) + std::string("\x02\x00\x00\x00", 4) + kExample.substr(38);
    two += kExample.substr(38, 10);
    tmp.write("cut.ini", two);
    SetupData d;
    std::string reason;
    EXPECT_FALSE(d.readSetupFile(Fs(), tmp.path("cut.ini"), &reason));
    EXPECT_EQ(d.files.size(), 1u);
    EXPECT_EQ(d.title, "ab");
    EXPECT_EQ(reason, "the file ends inside a file record");
}

TEST(SetupFile, ReaderToleratesWhatTheFormatAllows) {
    TempFolder tmp;
    tmp.write("a.ini", kExample + "trailing bytes");
    SetupData d;
    EXPECT_TRUE(d.readSetupFile(Fs(), tmp.path("a.ini")));

    // A NUL inside a counted string ends the text; the rest is still consumed.
    std::string nul = kExample;
    nul[14] = '\0';  // "ab" -> "a\0"
    tmp.write("b.ini", nul);
    SetupData e;
    ASSERT_TRUE(e.readSetupFile(Fs(), tmp.path("b.ini")));
    EXPECT_EQ(e.title, "a");
    EXPECT_EQ(e.files.size(), 1u);

    SetupData empty;
    ASSERT_TRUE(empty.writeSetupFile(Fs(), tmp.path("c.ini")));
    EXPECT_EQ(tmp.read("c.ini").size(), 11u + 10 + 12);
    SetupData back;
    EXPECT_TRUE(back.readSetupFile(Fs(), tmp.path("c.ini")));
    EXPECT_TRUE(back.files.empty() && back.folders.empty());
}

TEST(SetupFile, NamesThatLeaveTheirFolderAreRefused) {
    TempFolder tmp;
    auto withFolder = [](const std::string& folder) {
        SetupData d = Example();
        d.folders = {folder};
        return d;
    };
    auto withName = [](const std::string& name, std::int32_t folderIndex = 0) {
        SetupData d = Example();
        d.files[0]->name = name;
        d.files[0]->folderIndex = folderIndex;
        return d;
    };
    auto readBack = [&](const SetupData& d) {
        EXPECT_TRUE(d.writeSetupFile(Fs(), tmp.path("n.ini")));
        SetupData r;
        return r.readSetupFile(Fs(), tmp.path("n.ini"));
    };
    for (const char* bad : {"", "..", "a\\..\\..", "\\Windows", "/etc", "C:\\x", "C:x", "a:b", ".", "./a", "a/../.."})
        EXPECT_FALSE(readBack(withFolder(bad))) << bad;
    for (const char* good : {"Voice", "Save\\Sub", "a..b", ".hidden"}) EXPECT_TRUE(readBack(withFolder(good))) << good;
    EXPECT_TRUE(readBack(withFolder(std::string(SJ("表")) + "\\" + std::string(SJ("ソ")))));
    for (const char* bad : {"", "..", "a\\b", "a/b", "C:x", "\\x"}) EXPECT_FALSE(readBack(withName(bad))) << bad;
    EXPECT_TRUE(readBack(withName(std::string(SJ("表ソ.dat")))));

    // Folder indices must name a folder or be -1.
    EXPECT_TRUE(readBack(withName("x", -1)));
    EXPECT_FALSE(readBack(withName("x", 1)));
    EXPECT_FALSE(readBack(withName("x", -2)));
}

TEST(SetupFile, WriterRefusesOverlongStringsAndKeepsTheOldFile) {
    TempFolder tmp;
    tmp.write("Setup.ini", kExample);
    SetupData d = Example();
    d.title.assign(65536, 'a');
    std::string reason;
    EXPECT_FALSE(d.writeSetupFile(Fs(), tmp.path("Setup.ini"), &reason));
    EXPECT_EQ(reason, "a string is longer than 65535 bytes");
    EXPECT_EQ(tmp.read("Setup.ini"), kExample);
    d.title.assign(65535, 'a');
    EXPECT_TRUE(d.writeSetupFile(Fs(), tmp.path("Setup.ini")));
    SetupData r;
    ASSERT_TRUE(r.readSetupFile(Fs(), tmp.path("Setup.ini")));
    EXPECT_EQ(r.title.size(), 65535u);
    EXPECT_FALSE(d.writeSetupFile(Fs(), tmp.path("missing\\Setup.ini")));
}

TEST(SetupDataTest, TypesSizesAndCounts) {
    SetupData d;
    d.files.push_back(std::make_shared<FileEntry>(FileEntry{-1, "all", 0xFFFFFFFFull, -1}));
    d.files.push_back(std::make_shared<FileEntry>(FileEntry{2, "full", 0xFFFFFFFFull, -1}));
    d.files.push_back(std::make_shared<FileEntry>(FileEntry{1 << 3, "odd", 1, -1}));
    EXPECT_EQ(d.totalSizeOfType(0), 0xFFFFFFFFull);
    EXPECT_EQ(d.totalSizeOfType(1), 0x1FFFFFFFEull);   // carries into the high half
    EXPECT_EQ(d.totalSizeOfType(35), 0x100000000ull);  // bit 35 is bit 3: "all" and "odd"
    EXPECT_EQ(d.fileCountOfType(0), 1);
    EXPECT_EQ(d.fileCountOfType(1), 2);
    EXPECT_EQ(d.EntryRelativePath(1, 0), "all");
    EXPECT_EQ(d.EntryRelativePath(0, 1), "");
    EXPECT_EQ(d.EntryRelativePath(1, 3), "");
    EXPECT_EQ(d.folderName(0), nullptr);
}

}  // namespace
