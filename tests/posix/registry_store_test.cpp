// The registry store off Windows is rewritten whole: with the disk full at every byte offset of
// that write (a file-size limit stands for it), the store holds its old keys or its new ones.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "os/registry.h"
#include "test_support.h"

namespace {

std::string ReadHost(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs `write` with writes beyond `limit` bytes of any file refused, as a full disk refuses them.
bool WithFileSizeLimit(rlim_t limit, const std::function<bool()>& write) {
    struct rlimit saved;
    ::getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit limited = saved;
    limited.rlim_cur = limit;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    bool ok = write();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    return ok;
}

TEST(RegistryStore, AFullDiskAtEveryOffsetLeavesTheOldKeysOrTheNew) {
    testing_support::TempFolder tmp;
    const std::filesystem::path store = tmp.host("registry.txt");
    const char* saved = std::getenv("SETUP_REGISTRY");
    const std::string savedStore = saved ? saved : "";
    ::setenv("SETUP_REGISTRY", store.c_str(), 1);
    auto restore = [&] { saved ? ::setenv("SETUP_REGISTRY", savedStore.c_str(), 1) : ::unsetenv("SETUP_REGISTRY"); };
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &previous);

    os::Registry& registry = os::SystemRegistry();
    const std::string key = "Software\\Maker\\Game";
    ASSERT_TRUE(registry.CreateKey(key));
    ASSERT_TRUE(registry.SetValue(key, "Install", os::ValueType::String, std::string("C:\\Games\\Old\0", 13)));
    const std::string old = ReadHost(store);
    const std::string value("C:\\Games\\A new and longer folder\0", 33);
    ASSERT_TRUE(registry.SetValue(key, "Install", os::ValueType::String, value));
    const std::string fresh = ReadHost(store);
    int offsets = 0;
    for (std::size_t limit = 0; limit <= fresh.size(); ++limit, ++offsets) {
        std::ofstream(store, std::ios::binary | std::ios::trunc) << old;
        const bool ok =
            WithFileSizeLimit(limit, [&] { return registry.SetValue(key, "Install", os::ValueType::String, value); });
        const std::string now = ReadHost(store);
        EXPECT_TRUE(now == (ok ? fresh : old)) << "limit " << limit;
        EXPECT_EQ(ok, limit == fresh.size()) << "limit " << limit;
        EXPECT_FALSE(std::filesystem::exists(tmp.host("registry.txt.new"))) << "limit " << limit;
    }
    ::sigaction(SIGXFSZ, &previous, nullptr);
    restore();
    std::printf("registry store offsets swept: %d\n", offsets);
    EXPECT_GT(offsets, 100);
}

}  // namespace
