#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "os/file_system.h"
#include "os/posix/drive_table.h"
#include "os/posix/durable.h"

namespace os {
namespace {

bool WriteAll(int fd, const char* in, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, in, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        in += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

bool SyncFolderOf(const std::string& hostPath) {
    std::string folder = std::filesystem::path(hostPath).parent_path().string();
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

class PosixFile : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }

    bool Read(void* buffer, std::size_t n, std::size_t& got) override {
        got = 0;
        auto* out = static_cast<char*>(buffer);
        while (got < n) {
            ssize_t r = ::read(fd_, out + got, n - got);
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) return false;
            if (r == 0) break;
            got += static_cast<std::size_t>(r);
        }
        return true;
    }

    bool Write(const void* buffer, std::size_t n) override {
        return WriteAll(fd_, static_cast<const char*>(buffer), n);
    }

    bool Flush() override { return ::fsync(fd_) == 0; }

    bool Seek(std::uint64_t offset) override {
        return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
    }

    bool Size(std::uint64_t& size) override {
        struct stat st;
        if (::fstat(fd_, &st) != 0) return false;
        size = static_cast<std::uint64_t>(st.st_size);
        return true;
    }

private:
    int fd_;
};

class PosixFileSystem : public FileSystem {
public:
    std::unique_ptr<File> Open(const std::string& path, const OpenRequest& request) override {
        std::string host;
        if (!posix::ToHostPath(path, host)) return nullptr;
        int flags = request.read && request.write ? O_RDWR : request.write ? O_WRONLY : O_RDONLY;
        if (request.disposition == Disposition::CreateAlways) flags |= O_CREAT | O_TRUNC;
        if (request.disposition == Disposition::OpenAlways) flags |= O_CREAT;
        if (request.disposition == Disposition::CreateNew) flags |= O_CREAT | O_EXCL;
        if (!request.inheritable) flags |= O_CLOEXEC;
        // Truncating before the sharing check would destroy a file another handle guards.
        bool truncate = flags & O_TRUNC;
        int fd = ::open(host.c_str(), flags & ~O_TRUNC, 0644);
        if (fd < 0) return nullptr;
        struct stat st;
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        // Sharing is advisory here: a handle that shares nothing excludes every other handle.
        bool exclusive = !request.shareRead && !request.shareWrite;
        // Only a file with content is truncated: ext4 flushes a truncated file on close, which
        // would stall the window for tens of milliseconds after each large copy.
        if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 ||
            (truncate && st.st_size > 0 && ::ftruncate(fd, 0) != 0)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd);
    }

    std::string CurrentFolder() override {
        char buffer[4096];
        std::string windows;
        if (!::getcwd(buffer, sizeof buffer) || !posix::ToWindowsPath(buffer, windows)) return {};
        return windows;
    }

    bool SetCurrentFolder(const std::string& path) override {
        std::string host;
        return posix::ToHostPath(path, host) && ::chdir(host.c_str()) == 0;
    }

    bool CreateFolder(const std::string& path) override {
        std::string host;
        return posix::ToHostPath(path, host) && ::mkdir(host.c_str(), 0755) == 0;
    }

    bool RemoveFolder(const std::string& path) override {
        std::string host;
        struct stat st;
        if (!posix::ToHostPath(path, host)) return false;
        // A link to a folder goes as a link, as Windows removes a folder link; its target stays.
        if (::lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) return ::unlink(host.c_str()) == 0;
        return ::rmdir(host.c_str()) == 0;
    }

    bool RemoveFile(const std::string& path) override {
        std::string host;
        struct stat st;
        return posix::ToHostPath(path, host) && ::lstat(host.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
               ::unlink(host.c_str()) == 0;
    }

    bool RenameFile(const std::string& from, const std::string& to, bool replace) override {
        std::string hostFrom, hostTo;
        struct stat st;
        if (!posix::ToHostPath(from, hostFrom) || !posix::ToHostPath(to, hostTo) ||
            ::lstat(hostFrom.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
            return false;
        if (replace) return posix::ReplaceHostFile(hostFrom, hostTo);
        if (::renameat2(AT_FDCWD, hostFrom.c_str(), AT_FDCWD, hostTo.c_str(), RENAME_NOREPLACE) == 0) return true;
        if (errno != EINVAL && errno != ENOSYS) return false;
        // A file system without that flag: a second name, then the first one goes.
        return ::link(hostFrom.c_str(), hostTo.c_str()) == 0 && ::unlink(hostFrom.c_str()) == 0;
    }

    DriveType DriveTypeOf(const std::string& root) override {
        if (root.size() < 2 || root[1] != ':') return DriveType::NoRootDir;
        char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
        for (const posix::Drive& d : posix::DriveTable()) {
            if (d.letter != letter) continue;
            struct stat st;
            return ::stat(d.hostFolder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? d.type : DriveType::NoRootDir;
        }
        return DriveType::NoRootDir;
    }

    bool FindFile(const std::string& path, FoundFile& found) override {
        std::string host;
        struct statx st;
        if (!posix::ToHostPath(path, host) || host.find_first_of("*?") != std::string::npos ||
            ::statx(AT_FDCWD, host.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
            return false;
        bool folder = S_ISDIR(st.stx_mode);
        found.attributes = folder ? 0x10 : 0x20;  // a folder, or a file marked for archiving
        if (!(st.stx_mode & S_IWUSR)) found.attributes |= 0x01;
        found.size = folder ? 0 : st.stx_size;
        auto fileTime = [](const struct statx_timestamp& t) {
            return static_cast<std::uint64_t>((t.tv_sec + 11644473600LL) * 10000000LL + t.tv_nsec / 100);
        };
        found.writeTime = fileTime(st.stx_mtime);
        found.accessTime = fileTime(st.stx_atime);
        found.creationTime = (st.stx_mask & STATX_BTIME) ? fileTime(st.stx_btime) : 0;
        return true;
    }

    // As on Windows, a link answers for itself: a reparse point, a folder when its target is one.
    bool GetAttributes(const std::string& path, std::uint32_t& attributes) override {
        std::string host;
        struct stat st;
        if (posix::ToHostPath(path, host) && ::lstat(host.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
            struct stat target;
            attributes = 0x400 | (::stat(host.c_str(), &target) == 0 && S_ISDIR(target.st_mode) ? 0x10 : 0x20);
            return true;
        }
        FoundFile found;
        if (!FindFile(path, found)) return false;
        attributes = found.attributes;
        return true;
    }

    // Only the read-only bit has a host counterpart: the owner's write permission.
    bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
        std::string host;
        struct stat st;
        if (!posix::ToHostPath(path, host) || ::stat(host.c_str(), &st) != 0) return false;
        mode_t mode = (attributes & 0x01) ? st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH) : st.st_mode | S_IWUSR;
        return ::chmod(host.c_str(), mode & 07777) == 0;
    }

    // The host keeps no settable creation time; access and write times are set.
    bool SetFileTimes(const std::string& path, const std::uint64_t*, const std::uint64_t* access,
                      const std::uint64_t* write) override {
        auto file = Open(path, OpenRequest{true, true, true, false, Disposition::OpenExisting, true});
        std::string host;
        if (!file || !posix::ToHostPath(path, host)) return false;
        auto toTimespec = [](const std::uint64_t* t) {
            struct timespec ts {
                0, UTIME_OMIT
            };
            if (t) {
                std::int64_t ticks = static_cast<std::int64_t>(*t) - 116444736000000000LL;
                ts.tv_sec = ticks >= 0 ? ticks / 10000000 : -((-ticks + 9999999) / 10000000);
                ts.tv_nsec = static_cast<long>((ticks - ts.tv_sec * 10000000LL) * 100);
            }
            return ts;
        };
        struct timespec times[2] = {toTimespec(access), toTimespec(write)};
        return ::utimensat(AT_FDCWD, host.c_str(), times, 0) == 0;
    }

    bool FreeBytesAvailable(const std::string& folder, std::uint64_t& freeBytes, bool& available) override {
        available = true;
        std::string host;
        struct stat st;
        struct statvfs vfs;
        if (!posix::ToHostPath(folder, host) || ::stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            ::statvfs(host.c_str(), &vfs) != 0)
            return false;
        freeBytes = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
        return true;
    }

    bool ClusterFreeSpace(const std::string& root, std::uint64_t& sectorsPerCluster, std::uint64_t& bytesPerSector,
                          std::uint64_t& freeClusters) override {
        std::string host;
        struct statvfs vfs;
        if (!posix::ToHostPath(root, host) || ::statvfs(host.c_str(), &vfs) != 0) return false;
        bytesPerSector = 512;
        sectorsPerCluster = vfs.f_frsize >= 512 ? vfs.f_frsize / 512 : 1;
        freeClusters = vfs.f_bavail;
        return true;
    }

    bool ConnectNetworkDrive(const std::string&, const std::string&) override { return false; }
    void DisconnectNetworkDrive(const std::string&) override {}
};

}  // namespace

namespace posix {

bool WriteHostFileDurably(const std::string& hostPath, const std::string& bytes) {
    int fd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool ReplaceHostFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 && SyncFolderOf(to);
}

}  // namespace posix

FileSystem& SystemFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

std::string SetupPathFromHost(const std::string& utf8HostPath) {
    std::string windows;
    std::error_code ec;
    auto absolute = std::filesystem::absolute(utf8HostPath, ec);
    if (ec || !posix::ToWindowsPath(absolute.string(), windows)) return {};
    return windows;
}

}  // namespace os
