#pragma once
// An os::FileSystem held in memory, so an execution touches no disk. Files are byte strings keyed
// by their exact path; a path not in the map can be answered by a callback (registration opens
// whatever the authoring file lists).
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "os/file_system.h"

namespace fuzzing {

class MemoryFileSystem : public os::FileSystem {
public:
    // For a path to open that is not in `files`: the size of a made-up file, or none to refuse.
    std::function<std::optional<std::uint64_t>(const std::string& path)> unknownPath;

    std::map<std::string, std::string> files;

    std::unique_ptr<os::File> Open(const std::string& path, const os::OpenRequest& request) override {
        // No system takes a path with a NUL in it.
        if (path.empty() || path.find('\0') != std::string::npos) return nullptr;
        auto it = files.find(path);
        if (it == files.end()) {
            if (request.disposition == os::Disposition::OpenExisting) {
                if (!unknownPath) return nullptr;
                std::optional<std::uint64_t> size = unknownPath(path);
                if (!size) return nullptr;
                return std::make_unique<SizedFile>(*size);
            }
            it = files.emplace(path, std::string()).first;
        } else if (request.disposition == os::Disposition::CreateNew) {
            return nullptr;
        } else if (request.disposition == os::Disposition::CreateAlways) {
            it->second.clear();
        }
        return std::make_unique<MemoryFile>(it->second, request.read, request.write);
    }

    std::string CurrentFolder() override { return current_; }
    bool SetCurrentFolder(const std::string& path) override {
        current_ = path;
        return true;
    }
    bool CreateFolder(const std::string&) override { return true; }
    bool RemoveFolder(const std::string&) override { return true; }
    bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
    bool RenameFile(const std::string& from, const std::string& to, bool replace) override {
        auto it = files.find(from);
        if (it == files.end() || from == to || (!replace && files.count(to))) return false;
        std::string bytes = std::move(it->second);
        files.erase(it);
        files[to] = std::move(bytes);
        return true;
    }
    os::DriveType DriveTypeOf(const std::string&) override { return os::DriveType::Fixed; }
    bool FindFile(const std::string& path, os::FoundFile& found) override {
        auto it = files.find(path);
        if (it == files.end()) return false;
        found = {};
        found.size = it->second.size();
        return true;
    }
    bool GetAttributes(const std::string& path, std::uint32_t& attributes) override {
        attributes = 0x80;  // FILE_ATTRIBUTE_NORMAL
        return files.count(path) != 0;
    }
    bool SetAttributes(const std::string& path, std::uint32_t) override { return files.count(path) != 0; }
    bool SetFileTimes(const std::string& path, const std::uint64_t*, const std::uint64_t*,
                      const std::uint64_t*) override {
        return files.count(path) != 0;
    }
    bool FreeBytesAvailable(const std::string&, std::uint64_t& freeBytes, bool& available) override {
        freeBytes = 1ull << 40;
        available = true;
        return true;
    }
    bool ClusterFreeSpace(const std::string&, std::uint64_t& sectorsPerCluster, std::uint64_t& bytesPerSector,
                          std::uint64_t& freeClusters) override {
        sectorsPerCluster = 8;
        bytesPerSector = 512;
        freeClusters = 1u << 28;
        return true;
    }
    bool ConnectNetworkDrive(const std::string&, const std::string&) override { return false; }
    void DisconnectNetworkDrive(const std::string&) override {}

private:
    class MemoryFile : public os::File {
    public:
        MemoryFile(std::string& bytes, bool read, bool write) : bytes_(bytes), read_(read), write_(write) {}
        bool Read(void* buffer, std::size_t n, std::size_t& got) override {
            got = 0;
            if (!read_) return false;
            if (pos_ < bytes_.size()) got = std::min(n, bytes_.size() - pos_);
            if (got) std::memcpy(buffer, bytes_.data() + pos_, got);
            pos_ += got;
            return true;
        }
        bool Write(const void* buffer, std::size_t n) override {
            if (!write_) return false;
            if (bytes_.size() < pos_ + n) bytes_.resize(pos_ + n);
            if (n) std::memcpy(bytes_.data() + pos_, buffer, n);
            pos_ += n;
            return true;
        }
        bool Size(std::uint64_t& size) override {
            size = bytes_.size();
            return true;
        }

    private:
        std::string& bytes_;  // the map's node: stable while the file system lives
        bool read_, write_;
        std::size_t pos_ = 0;
    };

    // Reports a size and reads as zeros, without holding the bytes.
    class SizedFile : public os::File {
    public:
        explicit SizedFile(std::uint64_t size) : size_(size) {}
        bool Read(void* buffer, std::size_t n, std::size_t& got) override {
            got = pos_ < size_ ? static_cast<std::size_t>(std::min<std::uint64_t>(n, size_ - pos_)) : 0;
            if (got) std::memset(buffer, 0, got);
            pos_ += got;
            return true;
        }
        bool Write(const void*, std::size_t) override { return false; }
        bool Size(std::uint64_t& size) override {
            size = size_;
            return true;
        }

    private:
        std::uint64_t size_;
        std::uint64_t pos_ = 0;
    };

    std::string current_ = "C:\\medium";
};

// Splits the input at the marker 0xFF 0xFF, two bytes that never stand in CP932 text: the first
// part is the data file, the rest steer the harness.
inline std::vector<std::string> SplitInput(const std::uint8_t* data, std::size_t size, std::size_t maxParts) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (parts.size() < maxParts && i + 1 < size && data[i] == 0xFF && data[i + 1] == 0xFF) {
            parts.emplace_back();
            ++i;
            continue;
        }
        parts.back().push_back(static_cast<char>(data[i]));
    }
    return parts;
}

}  // namespace fuzzing
