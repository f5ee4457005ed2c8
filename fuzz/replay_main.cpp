// A fuzz target over its committed seeds and the inputs it once failed on, without libFuzzer: the
// native suites (and the sanitized one) replay them all. A broken property aborts.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main() {
    const std::filesystem::path fuzz(FUZZ_FOLDER);
    int replayed = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const std::filesystem::path folder = fuzz / kind / FUZZ_TARGET;
        if (!std::filesystem::is_directory(folder)) continue;
        std::set<std::filesystem::path> inputs;  // in name order, the same every run
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file()) inputs.insert(entry.path());
        for (const auto& input : inputs) {
            std::ifstream in(input, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (!in.good() && !in.eof()) {
                std::fprintf(stderr, "%s: cannot be read\n", input.c_str());
                return 1;
            }
            std::printf("%s/%s\n", kind, input.filename().c_str());
            std::fflush(stdout);  // names the input of an abort
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("%s: %d inputs replayed\n", FUZZ_TARGET, replayed);
    return replayed > 0 ? 0 : 1;  // a target without seeds is a mistake in the tree
}
