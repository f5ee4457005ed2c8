#pragma once
// Files, folders, drives and the current folder. Paths are Windows paths in CP932.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace os {

enum class Disposition { CreateAlways, OpenAlways, OpenExisting };

struct OpenRequest {
    bool read = false;
    bool write = false;
    bool shareRead = false;
    bool shareWrite = false;
    Disposition disposition = Disposition::OpenExisting;
    bool inheritable = true;
};

// One open file; closed when destroyed.
class File {
public:
    virtual ~File() = default;
    // Reads up to n bytes; `got` is what arrived (less only at the end of the file).
    virtual bool Read(void* buffer, std::size_t n, std::size_t& got) = 0;
    virtual bool Write(const void* buffer, std::size_t n) = 0;
    virtual bool Size(std::uint64_t& size) = 0;
};

// The values of GetDriveType.
enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Null when the system refuses (missing file, a folder, sharing conflict, ...).
    virtual std::unique_ptr<File> Open(const std::string& path, const OpenRequest& request) = 0;
    // "" when the current folder cannot be read or has no CP932 form.
    virtual std::string CurrentFolder() = 0;
    virtual bool SetCurrentFolder(const std::string& path) = 0;
    virtual bool CreateFolder(const std::string& path) = 0;
    virtual bool RemoveFolder(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    virtual DriveType DriveTypeOf(const std::string& root) = 0;
};

FileSystem& systemFileSystem();

// A path as the host spells it (UTF-8, as a command line or a test gives it) in the setup's own
// form, made absolute; "" when it has none.
std::string setupPathFromHost(const std::string& utf8HostPath);

// Reads a whole file; false when it cannot be opened or read.
bool readWholeFile(FileSystem& fs, const std::string& path, std::string& bytes);
// Creates or truncates the file and writes the bytes.
bool writeWholeFile(FileSystem& fs, const std::string& path, const std::string& bytes);

}  // namespace os
