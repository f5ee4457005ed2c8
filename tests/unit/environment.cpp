// Keeps the tests' per-user state off Windows (the registry store, the menu and desktop folders)
// inside a temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "os/shell.h"
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

class UserState : public ::testing::Environment {
public:
    void SetUp() override {
        os::InitializeProcess();  // COM, for the shell's shortcut objects
#ifndef _WIN32
        folder_ = std::filesystem::temp_directory_path() / ("setup-user-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        ::setenv("SETUP_REGISTRY", (folder_ / "registry.txt").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
        ::setenv("XDG_DESKTOP_DIR", (folder_ / "Desktop").c_str(), 1);
#endif
    }
    void TearDown() override {
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }

private:
    std::filesystem::path folder_;
};

[[maybe_unused]] auto* const kUserState = ::testing::AddGlobalTestEnvironment(new UserState);

}  // namespace
