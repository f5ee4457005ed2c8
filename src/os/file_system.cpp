#include "os/file_system.h"

namespace os {

bool ReadWholeFile(FileSystem& fs, const std::string& path, std::string& bytes) {
    OpenRequest request;
    request.read = true;
    request.shareRead = true;
    auto file = fs.Open(path, request);
    if (!file) return false;
    std::string out;
    char chunk[65536];
    for (;;) {
        std::size_t got = 0;
        if (!file->Read(chunk, sizeof chunk, got)) return false;
        out.append(chunk, got);
        if (got < sizeof chunk) break;
    }
    bytes = std::move(out);
    return true;
}

bool WriteWholeFile(FileSystem& fs, const std::string& path, const std::string& bytes) {
    OpenRequest request;
    request.write = true;
    request.disposition = Disposition::CreateAlways;
    auto file = fs.Open(path, request);
    return file && file->Write(bytes.data(), bytes.size());
}

bool PathExists(FileSystem& fs, const std::string& path) {
    std::uint32_t attributes = 0;
    return fs.GetAttributes(path, attributes);
}

std::string RewriteTemporaryPath(const std::string& path) { return path + ".setup-new"; }

bool WriteNewFile(FileSystem& fs, const std::string& path, const std::string& bytes, bool flush) {
    OpenRequest request;
    request.write = true;
    request.disposition = Disposition::CreateNew;
    auto file = fs.Open(path, request);
    return file && file->Write(bytes.data(), bytes.size()) && (!flush || file->Flush());
}

bool RewriteWholeFile(FileSystem& fs, const std::string& path, const std::string& bytes) {
    if (!PathExists(fs, path)) return WriteNewFile(fs, path, bytes, false);
    const std::string temporary = RewriteTemporaryPath(path);
    OpenRequest request;
    request.write = true;
    request.disposition = Disposition::CreateAlways;
    request.inheritable = false;
    bool written = false;
    if (auto file = fs.Open(temporary, request)) written = file->Write(bytes.data(), bytes.size()) && file->Flush();
    if (written && fs.RenameFile(temporary, path, true)) return true;
    fs.RemoveFile(temporary);
    return false;
}

}  // namespace os
