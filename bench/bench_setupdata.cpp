// Registration and the Setup.ini reader and writer over large descriptions. Each runs at two
// sizes ten times apart; the reported complexity should come out as O(N).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "os/file_system.h"
#include "setupdata/setup_data.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"

namespace {

struct Folder {
    Folder() {
        std::random_device rd;
        host = std::filesystem::temp_directory_path() / ("setup-bench-" + std::to_string(rd()));
        std::filesystem::create_directories(host);
        path = support::WithTrailingBackslash(os::SetupPathFromHost(host.string()));
    }
    ~Folder() { std::filesystem::remove_all(host); }
    std::filesystem::path host;
    std::string path;
};

setupdata::SetupData Description(std::size_t entries) {
    setupdata::SetupData d;
    d.title = std::string(SJ("星降る丘の物語"));
    for (int f = 0; f < 50; ++f) d.folders.push_back("Folder" + std::to_string(f));
    for (std::size_t i = 0; i < entries; ++i)
        d.files.push_back(std::make_shared<setupdata::FileEntry>(setupdata::FileEntry{
            i % 3 ? -1 : 2, "File" + std::to_string(i) + ".pak", i * 977, static_cast<int>(i % 50)}));
    return d;
}

void WriteSetupFile(benchmark::State& state) {
    Folder dir;
    auto d = Description(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(d.writeSetupFile(os::SystemFileSystem(), dir.path + "Setup.ini"));
    state.SetComplexityN(state.range(0));
}

void ReadSetupFile(benchmark::State& state) {
    Folder dir;
    Description(static_cast<std::size_t>(state.range(0)))
        .writeSetupFile(os::SystemFileSystem(), dir.path + "Setup.ini");
    for (auto _ : state) {
        setupdata::SetupData d;
        if (!d.readSetupFile(os::SystemFileSystem(), dir.path + "Setup.ini")) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(d.files.size());
    }
    state.SetComplexityN(state.range(0));
}

void RegisterFromSource(benchmark::State& state) {
    Folder dir;
    const auto n = static_cast<std::size_t>(state.range(0));
    std::ofstream ini(dir.host / "SetupRegist.ini", std::ios::binary);
    std::string settings(SJ("設定")), listing(SJ("登録"));
    ini << "[" << settings
        << "]\r\nName=Bench\r\nRegistry=Software\\Bench\\\r\nDXCurrent=DX\\\r\nexec=g.exe\r\nsave=3\r\n";
    ini << "[" << listing << "]\r\ncount=" << n << "\r\n";
    for (std::size_t f = 0; f < 20; ++f) std::filesystem::create_directories(dir.host / ("F" + std::to_string(f)));
    for (std::size_t i = 0; i < n; ++i) {
        std::string rel = "F" + std::to_string(i % 20) + "/f" + std::to_string(i) + ".dat";
        std::ofstream(dir.host / rel, std::ios::binary) << "x";
        char key[32];
        std::snprintf(key, sizeof key, "regist%02zu", i);
        ini << key << "=(TYPE" << (i % 2) << ",F" << (i % 20) << ",F" << (i % 20) << "\\f" << i << ".dat)\r\n";
    }
    ini.close();
    os::SystemFileSystem().SetCurrentFolder(dir.path);
    for (auto _ : state) {
        setupdata::SetupData d;
        if (!d.registerFromSource(os::SystemFileSystem(), dir.path + "SetupRegist.ini")) state.SkipWithError("failed");
        benchmark::DoNotOptimize(d.files.size());
    }
    os::SystemFileSystem().SetCurrentFolder(support::WithTrailingBackslash(os::SetupPathFromHost("/")));
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(WriteSetupFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(ReadSetupFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(RegisterFromSource)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK_MAIN();
