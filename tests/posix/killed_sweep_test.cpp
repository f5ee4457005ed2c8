// A setup killed before each call that changes something, during an install (fresh and over the
// player's copy), during its rollback and during an uninstall; then the next setup runs over the
// leftovers. The player's files stay, at their names or kept beside them; no usable record is left
// by an install that did not finish; the next setup is not refused and finishes its work.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "flow/sweep_support.h"

namespace flow {
namespace {

using testing_support::FaultPoints;

// Runs `setup` in a child that stops before each mutating call and is killed before the n-th;
// false when the child finished before reaching it.
bool KilledBefore(int n, FaultPoints& points, const std::function<void()>& setup) {
    int tell[2], wait[2];
    if (::pipe(tell) != 0 || ::pipe(wait) != 0) return false;
    pid_t child = ::fork();
    if (child == 0) {
        ::close(tell[0]);
        ::close(wait[1]);
        points.beforeMutation = [&] {
            char byte = 1;
            if (::write(tell[1], &byte, 1) != 1 || ::read(wait[0], &byte, 1) != 1) ::_exit(3);
        };
        setup();
        ::_exit(0);
    }
    ::close(tell[1]);
    ::close(wait[0]);
    char byte = 0;
    bool reached = true;
    for (int at = 1; reached && at <= n; ++at) {
        reached = ::read(tell[0], &byte, 1) == 1;
        if (reached && at < n) reached = ::write(wait[1], &byte, 1) == 1;
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(tell[0]);
    ::close(wait[1]);
    return reached;
}

// The uninstall of the next setup; without services of its own it must end with `box`.
void Uninstall(Scene& sc, os::Services* services, bool keep,
               const std::string& box = Sj(SJ("ｱﾝｲﾝｽﾄｰﾙが正常に終了しました！"))) {
    SetupRun un;
    un.registryRoot = sc.s.registryRoot;
    un.description = DemoDescription(sc.s.registryRoot);
    un.WriteFiles(3000);
    if (services) un.services = services;
    un.Start();
    un.Then([&](HeadlessWindowSystem&) { un.Click(Welcome::InstallOrUninstall); });
    un.Then([&](HeadlessWindowSystem&) {
        if (keep) un.Click(UninstallSettings::KeepSaveFiles);
        un.Click(UninstallSettings::Uninstall);
    });
    un.Run();
    if (!services) {
        ASSERT_FALSE(un.ws.Boxes().empty());
        EXPECT_EQ(un.ws.Boxes().back().text, box);
    }
}

int bareKeys = 0;

void ExpectAfterKilledInstall(Scene& sc, const std::string& trace) {
    const auto after = ContentsOf(sc.games.target.host());
    EXPECT_EQ(ContentsOf(sc.s.medium.host()), sc.mediumBefore) << trace;
    const bool finished = !install::InstalledFolder(*sc.s.context).empty();
    if (!finished) sc.ExpectNothingLost(after, false, trace);
    for (const auto& [path, bytes] : after)
        EXPECT_TRUE(sc.before.count(path) || Below(path, "Games/" + HostKey(kTitle))) << trace << ": made " << path;
    if (finished) {
        // Killed after its record, while it removed the copies it kept: the install is finished.
        Uninstall(sc, nullptr, true);
    } else if (os::SystemRegistry().KeyExists(sc.s.context->registryKeyPath)) {
        // Killed between making the key and writing its value: the next setup offers the
        // uninstall, which cannot plan, removes nothing but the key and offers the install.
        Uninstall(sc, nullptr, true,
                  Sj(SJ("ｲﾝｽﾄｰﾙ情報が読み取れないため、ｱﾝｲﾝｽﾄｰﾙできません。もう一度ｲﾝｽﾄｰﾙしてください。")));
        EXPECT_EQ(ContentsOf(sc.games.target.host()), after) << trace;
        ++bareKeys;
    }
    ExpectNextInstallSucceeds(sc, trace);
}

TEST(KilledSweep, AtEveryChangeOfAnInstallAndItsRollback) {
    FastFolders fast;
    int kills = 0;
    struct Case {
        bool existing, rollback;
    };
    for (Case c : {Case{false, false}, Case{true, false}, Case{true, true}}) {
        int trigger = 0;
        if (c.rollback) {  // the record's value fails: the whole log is rolled back
            trigger = RecordWriteCall(true);
            ASSERT_GT(trigger, 0);
        }
        for (int n = 1;; ++n) {
            const std::string trace = std::string(c.rollback ? "rollback" : "install") +
                                      (c.existing ? " over the player's copy" : " into a fresh folder") +
                                      ", killed before change " + std::to_string(n);
            Scene sc(c.existing);
            FaultPoints& points = sc.counted.points;
            points.triggerAt = trigger;
            const bool killed = KilledBefore(n, points, [&] {
                points.counting = true;
                ChooseAndInstall(sc.s, sc.games.root);
                sc.s.Run();
            });
            if (!killed) break;
            ExpectAfterKilledInstall(sc, trace);
            ++kills;
            if (::testing::Test::HasFailure()) return;
        }
    }
    std::printf("install and rollback kill points run: %d (a key without its value left by %d)\n", kills, bareKeys);
    EXPECT_GT(kills, 50);
}

TEST(KilledSweep, AtEveryChangeOfAnUninstall) {
    FastFolders fast;
    int kills = 0;
    for (bool keep : {true, false})
        for (int n = 1;; ++n) {
            const std::string trace = std::string(keep ? "uninstall keeping the saves" : "uninstall") +
                                      ", killed before change " + std::to_string(n);
            Scene sc(true);
            ChooseAndInstall(sc.s, sc.games.root);
            sc.s.Run();
            sc.games.target.write(sc.in("Save\\unread.ini"), "read");
            const auto before = ContentsOf(sc.games.target.host());
            const bool killed = KilledBefore(n, sc.counted.points, [&] {
                sc.counted.points.counting = true;
                Uninstall(sc, &sc.counted.services, keep);
            });
            if (!killed) break;
            const auto after = ContentsOf(sc.games.target.host());
            const std::string folder = "Games/" + HostKey(kTitle);
            for (const auto& [path, bytes] : before) {
                auto at = after.find(path);
                const bool save =
                    Below(path, folder + "/Save") && path != folder + "/Save" && path != folder + "/Save/unread.ini";
                if (at != after.end())
                    EXPECT_EQ(at->second, bytes) << trace << ": changed " << path;
                else
                    EXPECT_TRUE(!save || !keep) << trace << ": removed " << path;
                EXPECT_TRUE(at != after.end() || Below(path, folder)) << trace << ": removed " << path;
            }
            EXPECT_TRUE(after.count(folder + "/" + HostKey(kProfileName))) << trace;
            Uninstall(sc, nullptr, true);  // the next setup finishes it
            ExpectNextInstallSucceeds(sc, trace, keep);
            ++kills;
            if (::testing::Test::HasFailure()) return;
        }
    std::printf("uninstall kill points run: %d\n", kills);
    EXPECT_GT(kills, 20);
}

}  // namespace
}  // namespace flow
