#pragma once
// The description of what to install: the game's names and paths, its sub-folders and the files
// of each install type.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "os/file_system.h"

namespace setupdata {

// 0: voice-less install, 1: full install.
using InstallType = int;

struct FileEntry {
    std::int32_t typeMask = 0;
    std::string name;
    std::uint64_t size = 0;
    std::int32_t folderIndex = -1;
};

inline bool BelongsToType(const FileEntry& e, InstallType t) {
    return ((1u << (static_cast<unsigned>(t) % 32)) & static_cast<std::uint32_t>(e.typeMask)) != 0;
}

struct RegistrationError;

class SetupData {
public:
    virtual ~SetupData() = default;

    std::string title;
    std::string registryRoot;
    std::string directXFolder;
    std::string executable;
    std::string dataFolder;
    std::int32_t saveSlotCount = 0;
    std::vector<std::shared_ptr<FileEntry>> files;
    std::vector<std::string> folders;

    std::uint64_t totalSizeOfType(InstallType t) const;
    int fileCountOfType(InstallType t) const;
    // "" when the index is out of range or the entry is not of the type; else folder\name or name.
    std::string EntryRelativePath(InstallType t, std::size_t index) const;
    // Null when the index is not below the folder count.
    const std::string* folderName(std::size_t index) const;

    // Both fail with false and leave what was read before the failure; `reason` says why.
    bool readSetupFile(os::FileSystem& fs, const std::string& path, std::string* reason = nullptr);
    bool writeSetupFile(os::FileSystem& fs, const std::string& path, std::string* reason = nullptr) const;
    bool registerFromSource(os::FileSystem& fs, const std::string& path, RegistrationError* error = nullptr);
};

}  // namespace setupdata
