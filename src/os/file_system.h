#pragma once
// Files, folders, drives and the current folder. Paths are Windows paths in CP932.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace os {

// CreateNew fails when the file exists, so nothing is truncated that was thought absent.
enum class Disposition { CreateAlways, OpenAlways, OpenExisting, CreateNew };

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
    // Waits until what was written is on the disk.
    virtual bool Flush() { return true; }
    // Moves to a byte offset from the start, for readers that jump (a disc image's directories).
    // Only the POSIX backend has it: the image is read where xorriso made it, and Setup.exe's
    // imports stay as they are.
    virtual bool Seek(std::uint64_t) { return false; }
};

// The values of GetDriveType.
enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

// The attribute bit Windows sets on a folder.
constexpr std::uint32_t kAttributeFolder = 0x10;

// What a directory search reports of a file.
struct FoundFile {
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    // 100-nanosecond intervals since 1601-01-01 UTC, as Windows keeps them.
    std::uint64_t creationTime = 0, accessTime = 0, writeTime = 0;
};

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
    // Renames a file within its folder's volume. Without `replace` it fails when `to` exists; with
    // it `to` is swapped for `from` in one step, and the change is on the disk when it returns.
    virtual bool RenameFile(const std::string& from, const std::string& to, bool replace) = 0;
    virtual DriveType DriveTypeOf(const std::string& root) = 0;
    // FindFirstFile on the path (no wildcards).
    virtual bool FindFile(const std::string& path, FoundFile& found) = 0;
    // GetFileAttributes; false when the path is missing.
    virtual bool GetAttributes(const std::string& path, std::uint32_t& attributes) = 0;
    virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // Opens the file for reading and writing, sets the times given (null: left as they are).
    virtual bool SetFileTimes(const std::string& path, const std::uint64_t* creation, const std::uint64_t* access,
                              const std::uint64_t* write) = 0;

    // Free space. The first form answers false when the system lacks it (`available` tells) or
    // when it fails; it needs an existing folder and counts the bytes available to the caller.
    virtual bool FreeBytesAvailable(const std::string& folder, std::uint64_t& freeBytes, bool& available) = 0;
    virtual bool ClusterFreeSpace(const std::string& root, std::uint64_t& sectorsPerCluster,
                                  std::uint64_t& bytesPerSector, std::uint64_t& freeClusters) = 0;
    virtual bool ConnectNetworkDrive(const std::string& localName, const std::string& remoteName) = 0;
    virtual void DisconnectNetworkDrive(const std::string& localName) = 0;
};

// Local time: a file time to seconds through the broken-down local time (0 when absent: before
// 1900, or before what the C library can count), and back. False when the system's conversion
// fails.
bool FileTimeToLocalSeconds(std::uint64_t fileTime, std::int64_t& seconds);
std::uint64_t LocalSecondsToFileTime(std::int64_t seconds);

FileSystem& SystemFileSystem();

// A path as the host spells it (UTF-8, as a command line or a test gives it) in the setup's own
// form, made absolute; "" when it has none.
std::string SetupPathFromHost(const std::string& utf8HostPath);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(FileSystem& fs, const std::string& path, std::string& bytes);
// Creates or truncates the file and writes the bytes.
bool WriteWholeFile(FileSystem& fs, const std::string& path, const std::string& bytes);
// Creates a file that must not exist yet and writes the bytes, waiting for the disk when asked.
bool WriteNewFile(FileSystem& fs, const std::string& path, const std::string& bytes, bool flush);
// Whether anything (a file, a folder, a link) has this name, readable or not.
bool PathExists(FileSystem& fs, const std::string& path);
// Writes a whole file so that one that exists holds its old bytes or the new ones whatever fails
// (a full disk, a crash): the bytes go to a file beside it, which replaces it once they are on the
// disk. A file that does not exist yet is written directly.
bool RewriteWholeFile(FileSystem& fs, const std::string& path, const std::string& bytes);
// The temporary file beside `path` that rewriteWholeFile writes.
std::string RewriteTemporaryPath(const std::string& path);

}  // namespace os
