#pragma once
// Real files in a fresh temporary folder, on both platforms.
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "os/file_system.h"
#include "support/cp932.h"
#include "support/system_text.h"

namespace testing_support {

inline std::filesystem::path HostPathFromCp932(const std::string& cp932) {
    std::string utf8 = support::ToUtf8Lossy(cp932);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class TempFolder {
public:
    // `name` ends the folder's name, for folders CP932 cannot spell.
    explicit TempFolder(std::u8string_view name = {}) {
        std::random_device rd;
        std::u8string unique = u8"setup-test-";
        for (char c : std::to_string(rd()) + std::to_string(rd())) unique += static_cast<char8_t>(c);
        host_ = std::filesystem::temp_directory_path() / (unique + std::u8string(name));
        std::filesystem::create_directories(host_);
        auto u8 = host_.u8string();
        path_ = os::SetupPathFromHost(std::string(u8.begin(), u8.end()));
    }
    ~TempFolder() {
        std::error_code ec;
        // Windows keeps a folder that is the process's current folder, as a setup's medium is:
        // step out of it first, or every such test leaves its folder behind.
        const std::filesystem::path relative = std::filesystem::current_path(ec).lexically_relative(host_);
        if (!ec && !relative.empty() && *relative.begin() != "..")
            std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(host_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder in the setup's own path form, with a trailing backslash.
    std::string path() const { return support::WithTrailingBackslash(path_); }
    std::string path(const std::string& relative) const { return path() + relative; }
    // The host path of a CP932 name below the folder; backslashes separate parts.
    std::filesystem::path host(const std::string& relativeCp932 = {}) const {
        std::string rel = relativeCp932;
        std::filesystem::path out = host_;
        std::size_t start = 0;
        while (start <= rel.size() && !rel.empty()) {
            std::size_t sep = support::FindChar(rel, '\\', start);
            out /= HostPathFromCp932(rel.substr(start, sep == support::npos ? support::npos : sep - start));
            if (sep == support::npos) break;
            start = sep + 1;
        }
        return out;
    }

    void write(const std::string& relativeCp932, const std::string& bytes) const {
        auto p = host(relativeCp932);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    std::string read(const std::string& relativeCp932) const {
        std::ifstream in(host(relativeCp932), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& relativeCp932) const { return std::filesystem::exists(host(relativeCp932)); }

private:
    std::filesystem::path host_;
    std::string path_;
};

// A host path as UTF-8 text, with forward slashes on every system.
inline std::string KeyOf(const std::filesystem::path& relative) {
    auto u8 = relative.generic_u8string();
    return std::string(u8.begin(), u8.end());
}

// Every file and folder below a host folder, with the sizes of the files: compared before and
// after, it shows what a setup changed.
inline std::map<std::string, std::uintmax_t> TreeOf(const std::filesystem::path& root) {
    std::map<std::string, std::uintmax_t> tree;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        tree[KeyOf(it->path().lexically_relative(root))] = it->is_regular_file() ? it->file_size() : 0;
    return tree;
}

// Changes the current folder for one test and restores it.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& path) : saved_(std::filesystem::current_path()) {
        os::SystemFileSystem().SetCurrentFolder(path);
    }
    ~CurrentFolder() { std::filesystem::current_path(saved_); }

private:
    std::filesystem::path saved_;
};

}  // namespace testing_support
