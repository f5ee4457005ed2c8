#include "os/file_system.h"

namespace os {

bool readWholeFile(FileSystem& fs, const std::string& path, std::string& bytes) {
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

bool writeWholeFile(FileSystem& fs, const std::string& path, const std::string& bytes) {
    OpenRequest request;
    request.write = true;
    request.disposition = Disposition::CreateAlways;
    auto file = fs.Open(path, request);
    return file && file->Write(bytes.data(), bytes.size());
}

bool pathExists(FileSystem& fs, const std::string& path) {
    std::uint32_t attributes = 0;
    return fs.GetAttributes(path, attributes);
}

std::string rewriteTemporaryPath(const std::string& path) { return path + ".setup-new"; }

bool writeNewFile(FileSystem& fs, const std::string& path, const std::string& bytes, bool flush) {
    OpenRequest request;
    request.write = true;
    request.disposition = Disposition::CreateNew;
    auto file = fs.Open(path, request);
    return file && file->Write(bytes.data(), bytes.size()) && (!flush || file->Flush());
}

bool rewriteWholeFile(FileSystem& fs, const std::string& path, const std::string& bytes) {
    if (!pathExists(fs, path)) return writeNewFile(fs, path, bytes, false);
    const std::string temporary = rewriteTemporaryPath(path);
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
