#include "setupdata/setup_data.h"

namespace setupdata {

std::uint64_t SetupData::totalSizeOfType(InstallType t) const {
    std::uint64_t total = 0;
    for (const auto& e : files)
        if (BelongsToType(*e, t)) total += e->size;
    return total;
}

int SetupData::fileCountOfType(InstallType t) const {
    int count = 0;
    for (const auto& e : files)
        if (BelongsToType(*e, t)) ++count;
    return count;
}

std::string SetupData::EntryRelativePath(InstallType t, std::size_t index) const {
    if (index >= files.size() || !BelongsToType(*files[index], t)) return {};
    const FileEntry& e = *files[index];
    const std::string* folder = e.folderIndex >= 0 ? folderName(static_cast<std::size_t>(e.folderIndex)) : nullptr;
    return folder ? *folder + "\\" + e.name : e.name;
}

const std::string* SetupData::folderName(std::size_t index) const {
    return index < folders.size() ? &folders[index] : nullptr;
}

}  // namespace setupdata
