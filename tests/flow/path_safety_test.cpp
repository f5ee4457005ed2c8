// Hostile names in the setup data, the authoring file and the record: whatever the player does,
// nothing changes outside the install folder.
#include <cstdio>
#include <map>

#include "flow/flow_support.h"
#include "os/registry.h"
#include "setupdata/names.h"
#include "support/system_text.h"

namespace flow {
namespace {

// Names that climb out, name a root, a drive, a device, or break the CP932 that joins paths.
std::vector<std::string> HostileNames() {
    const std::vector<std::string> cores = {
        "..", ". .", " ..", "..\\..\\outside", "\\outside", "Z:\\outside", "Z:outside", "C:", "CON", "nul.txt", "Com1",
        "lpt9.dat", "CONIN$", "a?b", "a*", "a|b", "a\"b", "a<b", "x\x95", "a\x01z", std::string(300, 'a'),
        "a/../../outside", "\\\\srv\\share\\x", "outside::$DATA", "..\\" + Sj(SJ("表")), Sj(SJ("ソ")) + "\\..\\..",
        // Windows drops a final dot or blank, so these name another entry than the one written.
        "Game.exe.", "Data ", "x. ", "a.\\b", Sj(SJ("表")) + ".", "COM0", "lpt0.txt", "\\\\?\\Z:\\outside",
        "\\\\.\\Z:\\outside", "\\\\.\\GLOBALROOT\\Device\\HarddiskVolume1\\outside"};
    std::vector<std::string> names;
    // Below a harmless part a rooted core is only an empty part, so those stand alone.
    for (const std::string& prefix : {std::string(), std::string("a\\"), Sj(SJ("表示")) + "\\"})
        for (const std::string& core : cores)
            if (prefix.empty() || core[0] != '\\') names.push_back(prefix + core);
    return names;
}

TEST(PathSafety, HostileNamesAreRefusedAndTrailBytesAreNoSeparators) {
    for (const std::string& name : HostileNames()) {
        EXPECT_FALSE(setupdata::IsSafeFolderName(name)) << support::ToUtf8Lossy(name);
        EXPECT_FALSE(setupdata::IsSafeFileName(name)) << support::ToUtf8Lossy(name);
    }
    // 0x5C as the second byte of a character: "表" is 95 5C, "ソ" is 83 5C.
    for (const std::string& name :
         {Sj(SJ("表示")), Sj(SJ("ソフト.dat")), std::string("CONFIG.SYS"), std::string("a.b.c"), std::string(255, 'x')})
        EXPECT_TRUE(setupdata::IsSafeFileName(name)) << support::ToUtf8Lossy(name);
    EXPECT_TRUE(setupdata::IsSafeFolderName(Sj(SJ("表示")) + "\\" + Sj(SJ("ソ"))));
    EXPECT_FALSE(setupdata::IsSafeFileName(std::string(256, 'x')));

    for (const std::string& folder :
         {std::string("C:\\Games\\T"), std::string("c:/Games/T/"), std::string("\\\\srv\\share\\T"),
          std::string("\\\\srv\\C$\\T"), std::string("C:\\.Games\\T")})
        EXPECT_TRUE(setupdata::IsSafeInstallFolder(folder)) << folder;
    for (const std::string& folder :
         {std::string(), std::string("C:\\"), std::string("C:"), std::string("Games\\T"), std::string("\\Games"),
          std::string("C:\\Games\\.."), std::string("C:\\a\\..\\..\\b"), std::string("\\\\srv"),
          std::string("\\\\srv\\share"), std::string("C:\\NUL"), std::string("C:\\a:b"), "C:\\" + std::string(300, 'a'),
          // The object manager's own forms, which no file-name rule reads.
          std::string("\\\\?\\C:\\Games\\T"), std::string("//?/C:/Games/T"), std::string("\\\\?\\UNC\\srv\\share\\T"),
          std::string("\\\\.\\C:\\Games\\T"), std::string("\\\\.\\GLOBALROOT\\Device\\HarddiskVolume1\\Games"),
          std::string("\\\\.\\pipe\\T"), std::string("\\\\srv.\\share\\T"), std::string("\\\\srv\\share \\T"),
          std::string("\\\\srv\\C:\\T"), std::string("C:\\Games.\\T"), std::string("C:\\Games\\T "),
          std::string("C:\\Games\\T."), std::string("C:\\Games\\COM0")})
        EXPECT_FALSE(setupdata::IsSafeInstallFolder(folder)) << folder;
}

// Every CP932 character after COM and LPT: CP932 has no code for the superscripts one to three
// that Windows also reads as digits, so only an ASCII digit makes a device name of it; the
// katakana ｲ ｳ ｹ (B2 B3 B9, the superscripts' codes in Latin-1) are letters like any other.
TEST(PathSafety, EveryCharacterAfterComAndLpt) {
    int characters = 0;
    auto tryCharacter = [&](const std::string& c) {
        std::string utf8;
        if (!support::ToUtf8(c, utf8)) return;
        ++characters;
        for (const char* superscript : {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"}) ASSERT_NE(utf8, superscript);
        const bool digit = c.size() == 1 && c[0] >= '0' && c[0] <= '9';
        const bool refusedAnyway = c.size() == 1 && std::string("<>\"|?*:\\/. ").find(c[0]) != std::string::npos;
        for (const char* device : {"COM", "lpt"})
            for (const char* extension : {"", ".pak"}) {
                const std::string name = device + c + extension;
                if (refusedAnyway && !(c[0] == '.' && *extension)) continue;
                EXPECT_EQ(setupdata::IsSafeFileName(name), !digit) << support::ToUtf8Lossy(name);
            }
    };
    for (int lead = 0x20; lead <= 0xFF; ++lead) {
        tryCharacter(std::string(1, static_cast<char>(lead)));
        if (support::IsLeadByte(static_cast<unsigned char>(lead)))
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                tryCharacter({static_cast<char>(lead), static_cast<char>(trail)});
    }
    std::printf("%d CP932 characters after COM and LPT\n", characters);
    EXPECT_GT(characters, 7000);
}

using testing_support::KeyOf;
using testing_support::TreeOf;

enum class Place { Folder, File, Title };

// A world around the install: a folder beside it and a file above it that must stay as they are.
class HostileRun {
public:
    HostileRun() {
        s.WriteFiles();
        target.write("Games\\keep.txt", "mine");
        target.write("outside\\keep.dat", "mine too");  // where "..\\outside" would land
    }

    // Installs, and uninstalls when the welcome page offers it; the setup is asked to act on every
    // page it shows.
    void Play() {
        const std::string root = target.path("Games");
        s.Then([this](HeadlessWindowSystem&) { s.Click(Welcome::InstallOrUninstall); });
        s.Then([this, root](HeadlessWindowSystem& ws) {
            if (s.Visible(204)) return s.Click(UninstallSettings::Uninstall);
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, root});
            s.Click(Settings::Browse);
            ws.QueueFolderChoice({ui::FolderChoice::Outcome::Chosen, s.medium.path()});
            s.Click(Settings::Install);
        });
        s.Then([this](HeadlessWindowSystem&) {
            if (s.Visible(201) && s.Text(Welcome::InstallOrUninstall) == Sj(SJ("ｱﾝｲﾝｽﾄｰﾙ")))
                s.Click(Welcome::InstallOrUninstall);
        });
        s.Then([this](HeadlessWindowSystem&) {
            if (s.Visible(204)) s.Click(UninstallSettings::Uninstall);
        });
        s.Run();
    }

    // What changed anywhere in the world lies below the install folder.
    void ExpectNothingChangedOutside(const std::map<std::string, std::uintmax_t>& before, const std::string& what) {
        const std::string folder = KeyOf(std::filesystem::path("Games") / testing_support::HostPathFromCp932(kTitle));
        const std::string inside = folder + "/";
        const auto after = TreeOf(target.host());
        using Tree = std::map<std::string, std::uintmax_t>;
        for (const auto& [one, other] : {std::pair<const Tree*, const Tree*>{&before, &after}, {&after, &before}})
            for (const auto& [path, size] : *one) {
                auto match = other->find(path);
                if (match != other->end() && match->second == size) continue;
                EXPECT_TRUE(path == folder || path.rfind(inside, 0) == 0) << what << ": " << path;
            }
    }

    SetupRun s;
    testing_support::TempFolder target;
};

TEST(PathSafety, NoHostileNameMakesTheSetupTouchAnythingOutside) {
    int cases = 0;
    for (Place place : {Place::Folder, Place::File, Place::Title})
        for (const std::string& name : HostileNames()) {
            HostileRun run;
            switch (place) {
                case Place::Folder: run.s.description.folders.push_back(name); break;
                case Place::File:
                    run.s.description.files.push_back(
                        std::make_shared<setupdata::FileEntry>(setupdata::FileEntry{-1, name, 4, -1}));
                    break;
                default: run.s.description.title = name; break;
            }
            const auto before = TreeOf(run.target.host());
            const auto medium = TreeOf(run.s.medium.host());
            run.s.Start();
            run.Play();
            run.ExpectNothingChangedOutside(before, support::ToUtf8Lossy(name));
            EXPECT_TRUE(TreeOf(run.s.medium.host()).size() == medium.size() + 1)
                << "only Setup.ini is new on the medium";
            os::SystemRegistry().DeleteKey(run.s.context->registryKeyPath);
            ShortcutPlaces().Clear();
            ++cases;
        }
    EXPECT_EQ(cases, 3 * 98);
}

TEST(PathSafety, AHostileRecordRemovesNothing) {
    HostileRun probe;
    const std::string t = probe.target.path();  // ends in a backslash
    const std::vector<std::string> records = {"",
                                              "Games",
                                              t + "Games\\..",
                                              t + "Games\\" + kTitle + "\\..\\..",
                                              t.substr(0, 3),
                                              t.substr(0, 2),
                                              "\\\\srv",
                                              t + "NUL",
                                              t + "Games\\a?b",
                                              t + std::string(300, 'a'),
                                              "\\\\?\\" + t + "Games",
                                              "\\\\.\\" + t + "Games",
                                              t + "Games.",
                                              t + "Games ",
                                              "\\\\.\\GLOBALROOT\\Device\\HarddiskVolume1\\Games"};
    for (const std::string& record : records) {
        HostileRun run;
        // What an uninstall of each record would find: the files of the description and a profile.
        for (const std::string& at : {std::string("Games\\"), std::string()}) {
            run.target.write(at + "Game.exe", "x");
            run.target.write(at + kTitle + ".ini", "[PATH]\r\nSetupType=0\r\n");
        }
        run.s.Start();
        os::Registry& registry = os::SystemRegistry();
        ASSERT_TRUE(registry.CreateKey(run.s.context->registryKeyPath));
        registry.SetValue(run.s.context->registryKeyPath, "Install", os::ValueType::String, record + '\0');
        const auto before = TreeOf(run.target.host());
        run.Play();
        EXPECT_TRUE(TreeOf(run.target.host()) == before) << support::ToUtf8Lossy(record);
        EXPECT_EQ(run.s.ws.Boxes().front().text,
                  Sj(SJ("ｲﾝｽﾄｰﾙ情報が読み取れないため、ｱﾝｲﾝｽﾄｰﾙできません。もう一度ｲﾝｽﾄｰﾙしてください。")));
        registry.DeleteKey(run.s.context->registryKeyPath);
        ShortcutPlaces().Clear();
    }
}

#ifndef _WIN32
// A link inside the install folder goes as a link; what it points at stays.
TEST(PathSafety, ALinkInTheInstallFolderIsNeverFollowed) {
    HostileRun again;
    again.s.Start();
    const std::string root = again.target.path("Games");
    ChooseAndInstall(again.s, root);
    again.s.Then([&](HeadlessWindowSystem&) {
        // The player swaps the data folder for a link to a folder of their own.
        auto data = again.target.host("Games\\" + kTitle + "\\Data");
        std::filesystem::remove_all(data);
        again.target.write("mine\\a.pak", "precious");
        std::filesystem::create_directory_symlink(again.target.host("mine"), data);
        std::filesystem::remove(again.target.host("Games\\" + kTitle + "\\Game.exe"));
        std::filesystem::create_symlink(again.target.host("mine\\a.pak"),
                                        again.target.host("Games\\" + kTitle + "\\Game.exe"));
        again.s.Click(Welcome::InstallOrUninstall);
    });
    again.s.Then([&](HeadlessWindowSystem&) { again.s.Click(UninstallSettings::Uninstall); });
    again.s.Run();
    EXPECT_EQ(again.target.read("mine\\a.pak"), "precious");
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::symlink_status(again.target.host("Games\\" + kTitle + "\\Data"))));
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::symlink_status(again.target.host("Games\\" + kTitle + "\\Game.exe"))));
    EXPECT_FALSE(again.target.exists("Games\\" + kTitle + "\\Voice"));
}
#endif

}  // namespace
}  // namespace flow
