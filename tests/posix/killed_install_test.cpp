// A setup killed in the middle of its install: no record stays, the uninstall is not offered, a
// second setup is refused while the first runs, and the next one installs over the leftovers.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "flow/flow_support.h"
#include "forwarding_file_system.h"
#include "install/installed_record.h"

namespace flow {
namespace {

// Stops the setup at every chunk written into the install folder, and before the game's profile
// is written: it tells the parent through one pipe and waits on the other.
class Gate : public testing_support::ForwardingFileSystem {
public:
    Gate(os::FileSystem& real, std::string folder, int tell, int wait)
        : ForwardingFileSystem(real), folder_(std::move(folder)), tell_(tell), wait_(wait) {}
    std::unique_ptr<os::File> Open(const std::string& p, const os::OpenRequest& r) override {
        if (!r.write || p.rfind(folder_, 0) != 0) return real_.Open(p, r);
        if (p.size() > 4 && p.compare(p.size() - 4, 4, ".ini") == 0) Stop();
        auto file = real_.Open(p, r);
        if (!file) return file;
        struct Stopping : os::File {
            Stopping(std::unique_ptr<os::File> f, Gate& g) : f_(std::move(f)), g_(g) {}
            bool Read(void* b, std::size_t n, std::size_t& got) override { return f_->Read(b, n, got); }
            bool Write(const void* b, std::size_t n) override {
                bool ok = f_->Write(b, n);
                g_.Stop();
                return ok;
            }
            bool Size(std::uint64_t& s) override { return f_->Size(s); }
            std::unique_ptr<os::File> f_;
            Gate& g_;
        };
        return std::make_unique<Stopping>(std::move(file), *this);
    }
    void Stop() {
        char byte = 1;
        if (::write(tell_, &byte, 1) != 1 || ::read(wait_, &byte, 1) != 1) ::_exit(3);
    }

private:
    std::string folder_;
    int tell_, wait_;
};

using testing_support::TreeOf;

TEST(KilledInstall, LeavesNoRecordRefusesASecondSetupAndInstallsCleanlyAfterwards) {
    // Game.exe and a.pak are one chunk each, v.pak four; the profile is the seventh stop.
    constexpr int kStops = 7;
    std::random_device seed;
    std::mt19937 random(seed());
    std::vector<int> stops = {1, kStops};
    for (int i = 0; i < 4; ++i) stops.push_back(std::uniform_int_distribution<int>(1, kStops)(random));
    for (int stop : stops) {
        SCOPED_TRACE("killed at stop " + std::to_string(stop));
        ShortcutPlaces places;
        places.Clear();
        SetupRun first;
        first.WriteFiles(3 * 1048576 + 5);
        GamesFolder games;
        testing_support::TempFolder& target = games.target;
        const std::string& root = games.root;
        const std::string& folder = games.folder;

        int tell[2], wait[2];
        ASSERT_EQ(::pipe(tell), 0);
        ASSERT_EQ(::pipe(wait), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Gate gate(os::SystemFileSystem(), folder, tell[1], wait[0]);
            os::Services services{gate, os::SystemBitmapLoader(), os::SystemRegistry(), os::SystemProcesses(),
                                  os::SystemShell()};
            first.services = &services;
            first.Start();
            ChooseAndInstall(first, root);
            first.Run();
            ::_exit(0);
        }
        char byte = 0;
        for (int reached = 1; reached < stop; ++reached) {
            ASSERT_EQ(::read(tell[0], &byte, 1), 1);
            ASSERT_EQ(::write(wait[1], &byte, 1), 1);
        }
        ASSERT_EQ(::read(tell[0], &byte, 1), 1);  // the child now waits at its stop

        {  // A second setup while the first installs: refused, and it changes nothing.
            const auto before = TreeOf(target.host());
            SetupRun second;
            second.Start();
            EXPECT_EQ(second.Run(), 0);
            EXPECT_EQ(second.ws.MainWindow(), nullptr);
            EXPECT_TRUE(second.ws.Boxes().empty());
            EXPECT_EQ(TreeOf(target.host()), before);
        }

        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        for (int fd : {tell[0], tell[1], wait[0], wait[1]}) ::close(fd);
        EXPECT_TRUE(target.exists("Games\\" + kTitle + "\\Game.exe"));  // what the killed setup left
        EXPECT_FALSE(os::SystemRegistry().KeyExists(first.registryRoot + kTitle));

        // The lock went with the killed process: the next setup runs, offers the install only and
        // installs over what the first one left.
        SetupRun next;
        next.registryRoot = first.registryRoot;
        next.description = DemoDescription(first.registryRoot);
        next.WriteFiles(3 * 1048576 + 5);
        next.Start();
        next.Then([&](HeadlessWindowSystem&) { EXPECT_EQ(next.Text(Welcome::InstallOrUninstall), Sj(SJ("ｲﾝｽﾄｰﾙ"))); });
        ChooseAndInstall(next, root);
        next.Then([&](HeadlessWindowSystem& ws) {
            EXPECT_EQ(ws.Boxes().back().text, Sj(SJ("ｲﾝｽﾄｰﾙが正常に終了しました！")));
            EXPECT_EQ(next.Text(Welcome::InstallOrUninstall), Sj(SJ("ｱﾝｲﾝｽﾄｰﾙ")));
        });
        next.Run();
        for (const std::string& file :
             {std::string("Game.exe"), std::string("Data\\a.pak"), std::string("Voice\\v.pak")})
            EXPECT_TRUE(target.read("Games\\" + kTitle + "\\" + file) == next.medium.read(file)) << file;
        EXPECT_EQ(install::InstalledFolder(*next.context), folder);
        os::SystemRegistry().DeleteKey(next.context->registryKeyPath);
        places.Clear();
    }
}

}  // namespace
}  // namespace flow
