// Install copy throughput against cp over the same files, peak memory, and the longest stretch
// without a queue drain. Prints its figures; it asserts nothing.
//
//   bench_install [MiB of each large file, default 300] [rounds, default 3]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "bench_support.h"
#include "install/install_job.h"
#include "os/file_system.h"
#include "pages/copy_progress_page.h"
#include "setupdata/setup_context.h"
#include "support/cp932.h"
#include "ui/headless/headless_window_system.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// The headless window system, timing the gaps between drains of the queue.
class TimedWindows : public ui::headless::HeadlessWindowSystem {
public:
    bool PeekQueue(ui::Message& m, bool remove) override {
        auto now = Clock::now();
        if (remove) {
            if (last_ != Clock::time_point{}) longest = std::max(longest, now - last_);
            last_ = now;
        }
        return HeadlessWindowSystem::PeekQueue(m, remove);
    }
    Clock::duration longest{};

private:
    Clock::time_point last_{};
};

using bench::NoBox;
using bench::NoMain;

void WriteRandom(const fs::path& p, std::size_t size, std::mt19937_64& rng) {
    std::ofstream out(p, std::ios::binary);
    std::vector<std::uint64_t> block(1 << 16);
    for (std::size_t done = 0; done < size;) {
        for (auto& v : block) v = rng();
        std::size_t n = std::min(size - done, block.size() * sizeof(std::uint64_t));
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
        done += n;
    }
}

long MaxRssKiB() {
    struct rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One install of the medium's description into `target`; seconds taken.
double RunInstall(const fs::path& medium, const fs::path& target, setupdata::SetupData description, TimedWindows& ws) {
    NoBox box;
    fs::current_path(medium);
    setupdata::SetupContext context(os::SystemServices(), box);
    *context.setupData = std::move(description);
    NoMain main;
    pages::CopyProgressPage page(ws, context);
    page.Create(ws.CreateMainWindow(main, "bench"));
    install::InstallOptions options{context.sourceFolder, os::SetupPathFromHost(target.string()), 1, false, false};
    install::InstallJob job(ws, context, options);
    auto start = Clock::now();
    job.PrepareInstall(page.JobView());
    install::InstallResult r = job.RunInstall(page.JobView());
    double taken = Seconds(Clock::now() - start);
    if (r != install::Succeeded) std::fprintf(stderr, "install failed\n");
    return taken;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t bigMiB = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 300;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    fs::path root = fs::temp_directory_path() / ("setup-bench-install-" + std::to_string(::getpid()));
    fs::path medium = root / "medium";
    fs::create_directories(medium / "Small");
    fs::create_directories(medium / "Big");
    std::mt19937_64 rng(42);
    setupdata::SetupData d;
    d.title = "Bench";
    d.folders = {"Small", "Big"};
    std::uint64_t total = 0;
    for (int i = 0; i < 400; ++i) {
        std::size_t size = 1000 + (rng() % 64) * 1024;
        std::string name = "s" + std::to_string(i) + ".dat";
        WriteRandom(medium / "Small" / name, size, rng);
        d.files.push_back(std::make_shared<setupdata::FileEntry>(setupdata::FileEntry{-1, name, size, 0}));
        total += size;
    }
    for (int i = 0; i < 2; ++i) {
        std::size_t size = bigMiB * 1048576 + 12345;
        std::string name = "b" + std::to_string(i) + ".pak";
        WriteRandom(medium / "Big" / name, size, rng);
        d.files.push_back(std::make_shared<setupdata::FileEntry>(setupdata::FileEntry{2, name, size, 1}));
        total += size;
    }
    std::printf("data set: 400 small files and 2 of %zu MiB, %.1f MiB in all\n", bigMiB, total / 1048576.0);

    long rssBefore = MaxRssKiB();
    double setupBest = 1e9, cpBest = 1e9;
    Clock::duration longest{};
    for (int round = 0; round < rounds; ++round) {
        fs::remove_all(root / "cp");
        fs::remove_all(root / "setup");
        fs::create_directories(root / "setup");
        auto start = Clock::now();
        std::string cp = "cp -r '" + medium.string() + "' '" + (root / "cp").string() + "' && sync";
        if (std::system(cp.c_str()) != 0) return 1;
        cpBest = std::min(cpBest, Seconds(Clock::now() - start));
        TimedWindows ws;
        start = Clock::now();
        RunInstall(medium, root / "setup", d, ws);
        std::system("sync");
        setupBest = std::min(setupBest, Seconds(Clock::now() - start));
        longest = std::max(longest, ws.longest);
    }
    long rssAfter = MaxRssKiB();

    // One chunk's read and write, for the drain figure.
    std::vector<char> chunk(install::CopyChunkSize);
    auto t0 = Clock::now();
    Clock::duration slowestChunk{};
    {
        std::ifstream in(medium / "Big" / "b0.pak", std::ios::binary);
        std::ofstream out(root / "chunk.bin", std::ios::binary);
        for (int i = 0; i < 256; ++i) {
            auto c0 = Clock::now();
            in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            out.write(chunk.data(), in.gcount());
            out.flush();
            slowestChunk = std::max(slowestChunk, Clock::now() - c0);
        }
    }
    double perChunk = Seconds(Clock::now() - t0) / 256;

    std::printf("cp -r:       %.3f s  (%.0f MiB/s)\n", cpBest, total / 1048576.0 / cpBest);
    std::printf("setup copy:  %.3f s  (%.0f MiB/s)\n", setupBest, total / 1048576.0 / setupBest);
    std::printf("ratio setup/cp throughput: %.2f (goal: at least 0.90)\n", cpBest / setupBest);
    std::printf("peak memory: %ld KiB before the installs, %ld KiB after (files of %zu MiB)\n", rssBefore, rssAfter,
                bigMiB);
    std::printf(
        "longest time between two queue drains: %.2f ms; one chunk's read and write: %.2f ms on average, "
        "%.2f ms at the slowest\n",
        Seconds(longest) * 1000, perChunk * 1000, Seconds(slowestChunk) * 1000);
    fs::remove_all(root);
    return 0;
}
