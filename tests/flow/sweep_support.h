#pragma once
// What the fault and kill sweeps share: the player's things laid out before a setup, the
// contents of folders to compare, the checks that nothing was lost, and the next install.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "fault_points.h"
#include "flow/flow_support.h"
#include "install/installed_record.h"

namespace flow {

// Every file below a host folder with its bytes; folders as "/".
inline std::map<std::string, std::string> ContentsOf(const std::filesystem::path& root) {
    std::map<std::string, std::string> out;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        const std::string key = testing_support::KeyOf(it->path().lexically_relative(root));
        if (it->is_directory()) {
            out[key] = "/";
            continue;
        }
        std::ifstream in(it->path(), std::ios::binary);
        out[key] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return out;
}

inline std::string HostKey(const std::string& cp932) {
    return testing_support::KeyOf(testing_support::HostPathFromCp932(cp932));
}

inline const std::string kProfileName = kTitle + ".ini";
inline const std::string kPlayerProfile = "[Config]\r\nVolume=7\r\n[PATH]\r\nSetupType=128\r\nCurrent=C:\\Old\\\r\n";

// The sweeps run hundreds of setups, each waiting for the disk a dozen times: off Windows their
// folders and the registry store go to memory when the host has a memory file system.
class FastFolders {
public:
    FastFolders() {
#ifndef _WIN32
        if (!std::filesystem::is_directory("/dev/shm")) return;
        for (const char* name : {"TMPDIR", "SETUP_REGISTRY"}) {
            const char* v = std::getenv(name);
            saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
        }
        ::setenv("TMPDIR", "/dev/shm", 1);
        ::setenv("SETUP_REGISTRY", ("/dev/shm/setup-sweep-registry-" + std::to_string(::getpid())).c_str(), 1);
#endif
    }
    ~FastFolders() {
#ifndef _WIN32
        if (const char* store = std::getenv("SETUP_REGISTRY"); store && !saved_.empty()) std::remove(store);
        for (const auto& [name, value] : saved_) value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
#endif
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

// One setup run over counted services, with the player's things laid out before it.
struct Scene {
    explicit Scene(bool existing) : existing(existing) {
        // Under Wine the desktop's shell may still be reading the last run's new shortcut, and a
        // file being read cannot be deleted: the removal is tried again until it goes.
        for (int tries = 0; tries < 100; ++tries) {
            places.Clear();
            if (!places.Exists(0) && !places.Exists(1) && !places.Exists(2)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        s.WriteFiles(3000);  // every file one chunk: the sweep stays small
        if (existing) {
            for (const std::string& file : {std::string("Game.exe"), std::string("Data\\a.pak")})
                games.target.write(in(file), "the player's old " + file);
            games.target.write(in(kProfileName), kPlayerProfile);
            games.target.write(in("Save\\SAVE0001.DAT"), "slot one");
            games.target.write(in("Save\\env.ini"), "[env]\r\nx=1\r\n");
        }
        games.target.write("beside.txt", "not the setup's");
        s.services = &counted.services;
        s.Start();
        before = ContentsOf(games.target.host());
        mediumBefore = ContentsOf(s.medium.host());
    }
    ~Scene() {
        os::SystemRegistry().DeleteKey(s.context->registryKeyPath);
        places.Clear();
    }
    std::string in(const std::string& relative) const { return "Games\\" + kTitle + "\\" + relative; }

    // Each file the player had, with its bytes, at its name or kept beside it.
    void ExpectNothingLost(const std::map<std::string, std::string>& after, bool exact,
                           const std::string& trace) const {
        for (const auto& [path, bytes] : before) {
            if (bytes == "/") continue;
            auto at = after.find(path);
            if (at != after.end() && at->second == bytes) continue;
            bool kept = false;
            for (const auto& [other, otherBytes] : after)
                kept = kept || (other.rfind(path + ".bak", 0) == 0 && otherBytes == bytes);
            EXPECT_TRUE(kept && !exact) << trace << ": " << path << (kept ? " only kept aside" : " lost");
        }
    }

    bool existing;
    ShortcutPlaces places;
    SetupRun s;
    GamesFolder games;
    testing_support::CountedServices counted;
    std::map<std::string, std::string> before, mediumBefore;
};

// The call that writes the record's value: the install's last write, whose failure rolls back the
// whole log.
inline int RecordWriteCall(bool existing) {
    Scene sc(existing);
    sc.counted.points.recording = sc.counted.points.counting = true;
    ChooseAndInstall(sc.s, sc.games.root);
    sc.s.Run();
    return sc.counted.points.FirstCall("SetValue");
}

inline const std::string kInstalled(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！"));

inline bool Below(const std::string& key, const std::string& folder) {
    return key == folder || key.rfind(folder + "/", 0) == 0;
}

// The next setup, with no fault, installs over whatever the last one left and keeps the player's
// profile keys and save files.
inline void ExpectNextInstallSucceeds(Scene& sc, const std::string& trace, bool savesStay = true) {
    std::filesystem::current_path(sc.games.target.host());  // the last setup's may have gone with its rollback
    testing_support::CountedServices uncounted;             // flushes nothing: see CountedFiles
    SetupRun next;
    next.services = &uncounted.services;
    next.registryRoot = sc.s.registryRoot;
    next.description = DemoDescription(sc.s.registryRoot);
    next.WriteFiles(3000);
    next.Start();
    ChooseAndInstall(next, sc.games.root);
    next.Run();
    ASSERT_FALSE(next.ws.Boxes().empty()) << trace;
    EXPECT_EQ(next.ws.Boxes().back().text, kInstalled) << trace;
    EXPECT_EQ(install::InstalledFolder(*next.context), sc.games.folder) << trace;
    for (const std::string& file : {std::string("Game.exe"), std::string("Data\\a.pak"), std::string("Voice\\v.pak")})
        EXPECT_TRUE(sc.games.target.read(sc.in(file)) == next.medium.read(file)) << trace << " " << file;
    if (sc.existing) {
        const std::string profile = sc.games.target.read(sc.in(kProfileName));
        EXPECT_NE(profile.find("Volume=7"), std::string::npos) << trace << " " << profile;
        if (savesStay) {
            EXPECT_EQ(sc.games.target.read(sc.in("Save\\SAVE0001.DAT")), "slot one") << trace;
        }
    }
}

}  // namespace flow
