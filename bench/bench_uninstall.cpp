// Uninstall time against the number of installed files, and the file-system calls its planning
// makes. Prints its figures; it asserts nothing.
//
//   bench_uninstall [most files, default 10000]: four runs, each with twice the files of the last
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench_support.h"
#include "forwarding_file_system.h"
#include "install/game_profile.h"
#include "install/installed_record.h"
#include "os/services.h"
#include "pages/uninstall_progress_page.h"
#include "setupdata/setup_context.h"
#include "ui/headless/headless_window_system.h"
#include "uninstall/uninstall_job.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Counts every call that reaches the file system.
class CountingFiles : public testing_support::ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    std::unique_ptr<os::File> Open(const std::string& p, const os::OpenRequest& r) override {
        return ++calls, real_.Open(p, r);
    }
    bool RemoveFolder(const std::string& p) override { return ++calls, real_.RemoveFolder(p); }
    bool RemoveFile(const std::string& p) override { return ++calls, real_.RemoveFile(p); }
    bool FindFile(const std::string& p, os::FoundFile& f) override { return ++calls, real_.FindFile(p, f); }
    bool GetAttributes(const std::string& p, std::uint32_t& a) override { return ++calls, real_.GetAttributes(p, a); }
    int calls = 0;
};

using bench::NoBox;
using bench::NoMain;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Figures {
    double plan, run;
    int planCalls;
    std::size_t steps;
};

Figures UninstallOf(const fs::path& root, int files) {
    const fs::path folder = root / ("game" + std::to_string(files));
    setupdata::SetupData d;
    d.title = "Bench";
    d.registryRoot = "Software\\Bench\\";
    d.saveSlotCount = 20;
    for (int f = 0; f < 10; ++f) {
        d.folders.push_back("Folder" + std::to_string(f));
        fs::create_directories(folder / d.folders.back());
    }
    for (int i = 0; i < files; ++i) {
        auto entry = std::make_shared<setupdata::FileEntry>(
            setupdata::FileEntry{-1, "f" + std::to_string(i) + ".dat", 10, i % 10});
        std::ofstream(folder / d.folders[static_cast<std::size_t>(i % 10)] / entry->name) << "0123456789";
        d.files.push_back(entry);
    }
    CountingFiles counting(os::SystemFileSystem());
    os::Services& system = os::SystemServices();
    os::Services services{counting, system.bitmaps, system.registry, system.processes, system.shell};
    NoBox box;
    setupdata::SetupContext context(services, box);
    *context.setupData = d;
    context.registryKeyPath = d.registryRoot + d.title;
    const std::string installFolder = os::SetupPathFromHost(folder.string());
    install::RecordInstallFolder(context, installFolder);
    install::WriteGameProfile(context, 1, installFolder, "D:\\");

    ui::headless::HeadlessWindowSystem ws;
    NoMain main;
    pages::UninstallProgressPage page(ws, context);
    page.Create(ws.CreateMainWindow(main, "bench"));
    counting.calls = 0;
    auto start = Clock::now();
    uninstall::UninstallJob job(ws, context, page.JobView(), false);
    Figures out{Seconds(Clock::now() - start), 0, counting.calls, job.steps.size()};
    start = Clock::now();
    job.RunUninstall(page.JobView());
    out.run = Seconds(Clock::now() - start);
    // Only the game's profile, which is no file of the description, stays.
    if (fs::exists(folder / d.folders[0])) std::fprintf(stderr, "a folder of the game is still there\n");
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const int most = argc > 1 ? std::atoi(argv[1]) : 10000;
    const fs::path root = fs::temp_directory_path() / ("setup-bench-uninstall-" + std::to_string(::getpid()));
    fs::create_directories(root);
    // The record, the Start menu and the desktop of this run stay in its own folder.
    setenv("SETUP_REGISTRY", (root / "registry.txt").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_DESKTOP_DIR", (root / "desktop").c_str(), 1);
    std::printf("%8s %8s %12s %12s %14s %18s\n", "files", "steps", "plan ms", "run ms", "run us/step", "plan fs calls");
    for (int files : {most / 8, most / 4, most / 2, most}) {
        Figures f = UninstallOf(root, files);
        std::printf("%8d %8zu %12.2f %12.1f %14.2f %18d\n", files, f.steps, f.plan * 1000, f.run * 1000,
                    f.run * 1e6 / static_cast<double>(f.steps), f.planCalls);
    }
    std::printf(
        "planning reads the record and the game's profile only (one file opened); the run's time per step\n"
        "should stay flat as the files grow\n");
    fs::remove_all(root);
    return 0;
}
