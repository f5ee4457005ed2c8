#include "os/file_system.h"

#include <utility>

#include "os/win32/scoped_handle.h"
#include "os/win32/system_library.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"

#include <winnetwk.h>

namespace os {
namespace {

// mpr is no known DLL: loaded from the system's folder when a network drive is first needed.
template <typename Function>
Function NetworkFunction(const char* name) {
    return win32::SystemFunction<Function>(L"mpr.dll", name);
}

class Win32File : public File {
public:
    explicit Win32File(win32::ScopedFileHandle handle) : handle_(std::move(handle)) {}

    bool Read(void* buffer, std::size_t n, std::size_t& got) override {
        got = 0;
        auto* out = static_cast<char*>(buffer);
        while (got < n) {
            DWORD part = 0;
            DWORD want = static_cast<DWORD>(n - got > 0x40000000 ? 0x40000000 : n - got);
            if (!ReadFile(handle_.Get(), out + got, want, &part, nullptr)) return false;
            if (part == 0) break;
            got += part;
        }
        return true;
    }

    bool Write(const void* buffer, std::size_t n) override {
        const auto* in = static_cast<const char*>(buffer);
        while (n > 0) {
            DWORD part = 0;
            DWORD want = static_cast<DWORD>(n > 0x40000000 ? 0x40000000 : n);
            if (!WriteFile(handle_.Get(), in, want, &part, nullptr) || part == 0) return false;
            in += part;
            n -= part;
        }
        return true;
    }

    bool Flush() override { return FlushFileBuffers(handle_.Get()); }

    bool Size(std::uint64_t& size) override {
        LARGE_INTEGER li;
        if (!GetFileSizeEx(handle_.Get(), &li)) return false;
        size = static_cast<std::uint64_t>(li.QuadPart);
        return true;
    }

private:
    win32::ScopedFileHandle handle_;
};

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<File> Open(const std::string& path, const OpenRequest& r) override {
        std::wstring wide;
        if (!win32::ToWide(path, wide)) return nullptr;
        DWORD access = (r.read ? GENERIC_READ : 0) | (r.write ? GENERIC_WRITE : 0);
        DWORD share = (r.shareRead ? FILE_SHARE_READ : 0) | (r.shareWrite ? FILE_SHARE_WRITE : 0);
        DWORD disposition = r.disposition == Disposition::CreateAlways ? CREATE_ALWAYS
                            : r.disposition == Disposition::OpenAlways ? OPEN_ALWAYS
                            : r.disposition == Disposition::CreateNew  ? CREATE_NEW
                                                                       : OPEN_EXISTING;
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, r.inheritable ? TRUE : FALSE};
        win32::ScopedFileHandle file(
            CreateFileW(wide.c_str(), access, share, &sa, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return nullptr;
        return std::make_unique<Win32File>(std::move(file));
    }

    std::string CurrentFolder() override {
        wchar_t buffer[MAX_PATH + 1];
        DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
        std::string out;
        if (n == 0 || n > MAX_PATH) return {};
        return win32::FromWide(std::wstring_view(buffer, n));
    }

    bool SetCurrentFolder(const std::string& path) override {
        std::wstring wide;
        return win32::ToWide(path, wide) && SetCurrentDirectoryW(wide.c_str());
    }

    bool CreateFolder(const std::string& path) override {
        std::wstring wide;
        return win32::ToWide(path, wide) && CreateDirectoryW(wide.c_str(), nullptr);
    }

    bool RemoveFolder(const std::string& path) override {
        std::wstring wide;
        return win32::ToWide(path, wide) && RemoveDirectoryW(wide.c_str());
    }

    bool RemoveFile(const std::string& path) override {
        std::wstring wide;
        return win32::ToWide(path, wide) && DeleteFileW(wide.c_str());
    }

    bool RenameFile(const std::string& from, const std::string& to, bool replace) override {
        std::wstring wideFrom, wideTo;
        return win32::ToWide(from, wideFrom) && win32::ToWide(to, wideTo) &&
               MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                           replace ? MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH : 0);
    }

    DriveType DriveTypeOf(const std::string& root) override {
        std::wstring wide;
        if (!win32::ToWide(root, wide)) return DriveType::NoRootDir;
        return static_cast<DriveType>(GetDriveTypeW(wide.c_str()));
    }

    bool FindFile(const std::string& path, FoundFile& found) override {
        std::wstring wide;
        WIN32_FIND_DATAW data;
        if (!win32::ToWide(path, wide)) return false;
        win32::ScopedFindHandle find(FindFirstFileW(wide.c_str(), &data));
        if (!find || !find.Close()) return false;
        auto fileTime = [](const FILETIME& t) {
            return static_cast<std::uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
        };
        found.attributes = data.dwFileAttributes;
        found.size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        found.creationTime = fileTime(data.ftCreationTime);
        found.accessTime = fileTime(data.ftLastAccessTime);
        found.writeTime = fileTime(data.ftLastWriteTime);
        return true;
    }

    bool GetAttributes(const std::string& path, std::uint32_t& attributes) override {
        std::wstring wide;
        if (!win32::ToWide(path, wide)) return false;
        DWORD a = GetFileAttributesW(wide.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return false;
        attributes = a;
        return true;
    }

    bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
        std::wstring wide;
        return win32::ToWide(path, wide) && SetFileAttributesW(wide.c_str(), attributes);
    }

    bool SetFileTimes(const std::string& path, const std::uint64_t* creation, const std::uint64_t* access,
                      const std::uint64_t* write) override {
        std::wstring wide;
        if (!win32::ToWide(path, wide)) return false;
        win32::ScopedFileHandle file(CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        auto ft = [](const std::uint64_t* t, FILETIME& out) -> const FILETIME* {
            if (!t) return nullptr;
            out = {static_cast<DWORD>(*t), static_cast<DWORD>(*t >> 32)};
            return &out;
        };
        FILETIME c, a, w;
        const bool ok = SetFileTime(file.Get(), ft(creation, c), ft(access, a), ft(write, w));
        return file.Close() && ok;
    }

    bool FreeBytesAvailable(const std::string& folder, std::uint64_t& freeBytes, bool& available) override {
        using Query = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
        auto query = reinterpret_cast<Query>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetDiskFreeSpaceExW")));
        available = query != nullptr;
        std::wstring wide;
        ULARGE_INTEGER free, total;
        if (!query || !win32::ToWide(folder, wide) || !query(wide.c_str(), &free, &total, nullptr)) return false;
        freeBytes = free.QuadPart;
        return true;
    }

    bool ClusterFreeSpace(const std::string& root, std::uint64_t& sectorsPerCluster, std::uint64_t& bytesPerSector,
                          std::uint64_t& freeClusters) override {
        std::wstring wide;
        DWORD spc, bps, freeC, total;
        if (!win32::ToWide(root, wide) || !GetDiskFreeSpaceW(wide.c_str(), &spc, &bps, &freeC, &total)) return false;
        sectorsPerCluster = spc;
        bytesPerSector = bps;
        freeClusters = freeC;
        return true;
    }

    bool ConnectNetworkDrive(const std::string& localName, const std::string& remoteName) override {
        std::wstring local, remote;
        if (!win32::ToWide(localName, local) || !win32::ToWide(remoteName, remote)) return false;
        auto add = NetworkFunction<DWORD(WINAPI*)(LPCWSTR, LPCWSTR, LPCWSTR)>("WNetAddConnectionW");
        return add && add(remote.c_str(), nullptr, local.c_str()) == NO_ERROR;
    }

    void DisconnectNetworkDrive(const std::string& localName) override {
        std::wstring local;
        auto cancel = NetworkFunction<DWORD(WINAPI*)(LPCWSTR, BOOL)>("WNetCancelConnectionW");
        if (cancel && win32::ToWide(localName, local)) cancel(local.c_str(), FALSE);
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static Win32FileSystem fs;
    return fs;
}

std::string SetupPathFromHost(const std::string& utf8HostPath) {
    std::wstring wide;
    if (!win32::WideFromUtf8(utf8HostPath, wide)) return {};
    wchar_t buffer[32768];
    DWORD n = GetFullPathNameW(wide.c_str(), 32768, buffer, nullptr);
    if (n == 0 || n >= 32768) return {};
    return win32::FromWide(std::wstring_view(buffer, n));
}

}  // namespace os
