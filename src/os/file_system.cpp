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

}  // namespace os
