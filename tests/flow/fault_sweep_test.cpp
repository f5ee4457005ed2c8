// Every call the setup makes of the files, the registry and the shell fails in turn, once and
// from then on, during an install (fresh, and over a copy holding the player's profile and save
// files), during its rollback and during an uninstall. Nothing the player had is lost, a failed
// install leaves no record and, when the failure lets the rollback work, nothing it made; the next
// install succeeds.
#include "flow/sweep_support.h"

namespace flow {
namespace {

using testing_support::FaultPoints;

struct Outcome {
    bool finished = false;
    int calls = 0;
};

// One install with the faults `arm` sets, checked. `rollbackWorks`: the failure leaves the
// rollback every call it makes, so the folders must be exactly as they were.
Outcome InstallWithFaults(bool existing, const std::function<void(FaultPoints&)>& arm, bool rollbackWorks,
                          const std::string& trace, bool thenNext = true) {
    Outcome run;
    Scene sc(existing);
    FaultPoints& points = sc.counted.points;
    arm(points);
    points.counting = points.recording = true;
    ChooseAndInstall(sc.s, sc.games.root);
    sc.s.Then([&](HeadlessWindowSystem&) { points.counting = false; });
    sc.s.Run();
    points.counting = false;
    run.calls = points.calls;
    run.finished = !sc.s.ws.Boxes().empty() && sc.s.ws.Boxes().back().text == kInstalled;
    std::string boxes = points.failAt > 0 && points.failAt <= points.calls
                            ? " (" + points.names[static_cast<std::size_t>(points.failAt - 1)] + ")"
                            : std::string();
    for (const auto& box : sc.s.ws.Boxes()) boxes += " [" + box.text + "]";
    const auto after = ContentsOf(sc.games.target.host());
    EXPECT_EQ(ContentsOf(sc.s.medium.host()), sc.mediumBefore) << trace;
    EXPECT_EQ(after.at("beside.txt"), "not the setup's") << trace;
    const std::string folderKey = "Games/" + HostKey(kTitle);
    if (run.finished) {
        EXPECT_EQ(install::InstalledFolder(*sc.s.context), sc.games.folder) << trace;
        for (const std::string& file :
             {std::string("Game.exe"), std::string("Data\\a.pak"), std::string("Voice\\v.pak")})
            EXPECT_TRUE(sc.games.target.read(sc.in(file)) == sc.s.medium.read(file)) << trace << " " << file;
        if (points.failAt == 0 && points.triggerAt == 0) {  // nothing failed: no kept copy and no temporary file stay
            for (const auto& [path, bytes] : after)
                EXPECT_TRUE(path.find(".bak") == std::string::npos && path.find(".setup-new") == std::string::npos)
                    << path;
        }
        if (existing) {
            EXPECT_NE(sc.games.target.read(sc.in(kProfileName)).find("Volume=7"), std::string::npos) << trace;
            EXPECT_EQ(sc.games.target.read(sc.in("Save\\SAVE0001.DAT")), "slot one") << trace;
        }
        return run;
    }
    EXPECT_EQ(install::InstalledFolder(*sc.s.context), "") << trace;
    if (rollbackWorks) {
        EXPECT_EQ(after, sc.before) << trace;
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_FALSE(sc.places.Exists(i)) << trace << " " << sc.places.links[i] << boxes;
    } else {
        sc.ExpectNothingLost(after, false, trace);
        for (const auto& [path, bytes] : after)
            EXPECT_TRUE(sc.before.count(path) || Below(path, folderKey)) << trace << ": made " << path;
    }
    // A key whose value could not be written nor the key taken back (the registry failing from
    // then on) offers an uninstall that cannot plan; that removes it. The next install starts
    // without it.
    os::SystemRegistry().DeleteKey(sc.s.context->registryKeyPath);
    if (thenNext) ExpectNextInstallSucceeds(sc, trace);
    return run;
}

std::string TraceOf(const char* what, bool existing, int n, FaultPoints::Mode mode) {
    return std::string(what) + (existing ? " over the player's copy" : " into a fresh folder") + ", call " +
           std::to_string(n) + (mode == FaultPoints::Once ? " fails once" : " fails from then on");
}

TEST(FaultSweep, EveryCallOfAnInstallFailsInTurn) {
    FastFolders fast;
    int points = 0;
    for (bool existing : {false, true}) {
        const Outcome clean = InstallWithFaults(
            existing, [](FaultPoints&) {}, true, "no fault", false);
        ASSERT_TRUE(clean.finished);
        for (FaultPoints::Mode mode : {FaultPoints::Once, FaultPoints::FromThenOn})
            for (int n = 1; n <= clean.calls; ++n) {
                InstallWithFaults(
                    existing, [&](FaultPoints& p) { p.failAt = n, p.mode = mode; }, mode == FaultPoints::Once,
                    TraceOf("install", existing, n, mode));
                ++points;
                if (::testing::Test::HasFailure()) return;
            }
    }
    std::printf("install fault points run: %d\n", points);
    EXPECT_GT(points, 200);
}

TEST(FaultSweep, EveryCallOfARollbackFailsInTurn) {
    FastFolders fast;
    int points = 0;
    for (bool existing : {false, true}) {
        const int record = RecordWriteCall(existing);
        ASSERT_GT(record, 0);
        const Outcome failed = InstallWithFaults(
            existing, [&](FaultPoints& p) { p.triggerAt = record; }, true,
            TraceOf("rollback", existing, 0, FaultPoints::Once), false);
        ASSERT_FALSE(failed.finished);
        for (FaultPoints::Mode mode : {FaultPoints::Once, FaultPoints::FromThenOn})
            for (int n = record + 1; n <= failed.calls; ++n) {
                InstallWithFaults(
                    existing, [&](FaultPoints& p) { p.triggerAt = record, p.failAt = n, p.mode = mode; }, false,
                    TraceOf("rollback", existing, n, mode));
                ++points;
                if (::testing::Test::HasFailure()) return;
            }
    }
    std::printf("rollback fault points run: %d\n", points);
    EXPECT_GT(points, 20);
}

TEST(FaultSweep, EveryCallOfAnUninstallFailsInTurn) {
    FastFolders fast;
    int points = 0, calls = 0;
    for (int n = 0; n <= calls; ++n)
        for (FaultPoints::Mode mode : {FaultPoints::Once, FaultPoints::FromThenOn})
            for (bool keep : {true, false}) {
                if (n == 0 && (mode != FaultPoints::Once || !keep)) continue;
                const std::string trace = TraceOf(keep ? "uninstall keeping the saves" : "uninstall", true, n, mode);
                Scene sc(true);
                ChooseAndInstall(sc.s, sc.games.root);
                std::map<std::string, std::string> before;
                FaultPoints& p = sc.counted.points;
                sc.s.Then([&](HeadlessWindowSystem&) {
                    sc.games.target.write(sc.in("Save\\unread.ini"), "read");
                    sc.games.target.write(sc.in("notes.txt"), "the player's");
                    before = ContentsOf(sc.games.target.host());
                    p.failAt = n;
                    p.mode = mode;
                    p.counting = true;
                    sc.s.Click(Welcome::InstallOrUninstall);
                });
                sc.s.Then([&](HeadlessWindowSystem&) {
                    if (keep) sc.s.Click(UninstallSettings::KeepSaveFiles);
                    sc.s.Click(UninstallSettings::Uninstall);
                });
                sc.s.Run();
                p.counting = false;
                if (n == 0) calls = p.calls;
                const auto after = ContentsOf(sc.games.target.host());
                const std::string folder = "Games/" + HostKey(kTitle);
                const std::set<std::string> planned = {folder,
                                                       folder + "/Game.exe",
                                                       folder + "/Data",
                                                       folder + "/Data/a.pak",
                                                       folder + "/Voice",
                                                       folder + "/Voice/v.pak",
                                                       folder + "/Save/unread.ini"};
                for (const auto& [path, bytes] : before) {
                    auto at = after.find(path);
                    if (at == after.end()) {
                        const bool save = Below(path, folder + "/Save") && path != folder + "/Save";
                        EXPECT_TRUE(planned.count(path) || (!keep && save)) << trace << ": removed " << path;
                    } else {
                        EXPECT_EQ(at->second, bytes) << trace << ": changed " << path;
                    }
                }
                EXPECT_EQ(after.size() <= before.size(), true) << trace;
                ++points;
                if (::testing::Test::HasFailure()) return;
            }
    std::printf("uninstall fault points run: %d (%d calls)\n", points, calls);
    EXPECT_EQ(points, 1 + 4 * calls);
}

}  // namespace
}  // namespace flow
