#pragma once
// Copies one file of the install in 1 MiB chunks, one per step, and gives the copy the source's
// times and attributes without the read-only bit.
#include <cstdint>
#include <string>

#include "install/file_status.h"
#include "setupdata/file_handle.h"
#include "support/owning_buffer.h"
#include "ui/window_system.h"

namespace install {

inline constexpr std::size_t CopyChunkSize = 1048576;

enum CopyResult { CopyContinue = 0, CopyComplete = 1, CopyError = 2 };

bool ApplyFileStatus(os::FileSystem& fs, const std::string& path, const FileStatus& status);

class FileCopier {
public:
    // Never throws; shows its own message and leaves `ready` false when it cannot start.
    FileCopier(ui::WindowSystem& ws, os::FileSystem& fs, const std::string& sourceFolder,
               const std::string& installFolder, const std::string& relativePath);

    CopyResult CopyStep();
    std::size_t BufferSize() const { return buffer_.Count(); }
    const std::string& DestinationPath() const { return destinationPath_; }
    const FileStatus& Status() const { return status_; }

    bool ready = false;
    std::uint64_t bytesCopied = 0;

private:
    bool Start(ui::WindowSystem& ws, const std::string& sourceFolder, const std::string& installFolder,
               const std::string& relativePath);

    os::FileSystem& fs_;
    support::COwningBuffer<char> buffer_;
    setupdata::FileHandle source_;
    setupdata::FileHandle destination_;
    std::string destinationPath_;
    FileStatus status_;
};

}  // namespace install
