#pragma once
// Owns at most one open file and remembers the path it was opened with. Small reads and writes
// go through a buffer, so a data file of many short records costs few system calls.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "os/file_system.h"

namespace setupdata {

// Bits of the mode-flags word.
enum : unsigned {
    kModeCreate = 0x01,  // with kModeAlways: open-always, else create-always; clear: existing only
    kModeAlways = 0x02,
    kModeRead = 0x04,
    kModeWrite = 0x08,
    kModeNoInherit = 0x10,
    kModeShareRead = 0x20,
    kModeShareWrite = 0x40,
    kModeNew = 0x80,  // with kModeCreate: the file must not exist yet
};

os::OpenRequest OpenRequestFromFlags(unsigned flags);

class FileHandle {
public:
    explicit FileHandle(os::FileSystem& fs) : fs_(fs) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Closes any file held first; afterwards IsOpen() tells the outcome.
    bool Open(const std::string& path, const os::OpenRequest& request);
    bool OpenWithFlags(const std::string& path, unsigned flags) { return Open(path, OpenRequestFromFlags(flags)); }
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Succeeds only when all n bytes arrive.
    bool ReadExactly(void* buffer, std::size_t n);
    // Reads up to n bytes; fewer only at the end of the file.
    bool ReadSome(void* buffer, std::size_t n, std::size_t& got);
    // Reads n bytes and keeps the text before the first NUL; the target is unchanged on failure.
    bool ReadCountedBody(std::string& target, std::size_t n);
    bool Write(const void* buffer, std::size_t n);
    // Writes out what is buffered; false when the system refused.
    bool Flush();
    bool Size(std::uint64_t& size);
    // Closes without reporting; call Flush first to learn whether buffered bytes reached the file.
    void Close();

private:
    os::FileSystem& fs_;
    std::unique_ptr<os::File> file_;
    std::string path_;
    std::string readBuffer_;
    std::size_t readPos_ = 0;
    std::string writeBuffer_;
    bool writeFailed_ = false;
};

}  // namespace setupdata
