// Setup.ini: a packed little-endian record stream after the signature "[SETUP]2.01".
#include <cstring>

#include "setupdata/file_handle.h"
#include "setupdata/names.h"
#include "setupdata/setup_data.h"
#include "support/owning_buffer.h"

namespace setupdata {
namespace {

constexpr char kSignature[] = "[SETUP]2.01";
constexpr std::size_t kSignatureSize = sizeof kSignature - 1;

// Thrown inside the reader and writer and caught at their boundary.
struct Failure {
    const char* reason;
};

class Reader {
public:
    explicit Reader(FileHandle& file) : file_(file) {}

    void bytes(void* out, std::size_t n, const char* what) {
        if (!file_.ReadExactly(out, n)) throw Failure{what};
    }
    std::uint32_t u32(const char* what) {
        unsigned char b[4];
        bytes(b, 4, what);
        return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
    std::int32_t i32(const char* what) { return static_cast<std::int32_t>(u32(what)); }
    std::uint64_t u64(const char* what) {
        std::uint64_t low = u32(what);
        return low | static_cast<std::uint64_t>(u32(what)) << 32;
    }
    void counted(std::string& target, const char* what) {
        unsigned char b[2];
        bytes(b, 2, what);
        if (!file_.ReadCountedBody(target, static_cast<std::size_t>(b[0] | b[1] << 8))) throw Failure{what};
    }

private:
    FileHandle& file_;
};

// Builds the file in memory: it replaces a good one only once it is whole.
class Writer {
public:
    void bytes(const void* data, std::size_t n) { out.append(static_cast<const char*>(data), n); }
    void u32(std::uint32_t v) {
        unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        bytes(b, 4);
    }
    void u64(std::uint64_t v) {
        u32(static_cast<std::uint32_t>(v));
        u32(static_cast<std::uint32_t>(v >> 32));
    }
    void counted(const std::string& s) {
        unsigned char b[2] = {static_cast<unsigned char>(s.size()), static_cast<unsigned char>(s.size() >> 8)};
        bytes(b, 2);
        bytes(s.data(), s.size());
    }
    std::string out;
};

}  // namespace

bool SetupData::readSetupFile(os::FileSystem& fs, const std::string& path, std::string* reason) {
    FileHandle file(fs);
    try {
        if (!file.OpenWithFlags(path, kModeRead)) throw Failure{"the file cannot be opened"};
        Reader in(file);
        support::COwningBuffer<char> signature;
        signature.Resize(kSignatureSize + 1);
        signature[kSignatureSize] = '\0';
        in.bytes(signature.Get(), kSignatureSize, "the file ends inside the signature");
        if (std::strcmp(signature.Get(), kSignature) != 0) throw Failure{"the signature is not [SETUP]2.01"};
        const char* header = "the file ends inside the header";
        in.counted(title, header);
        in.counted(registryRoot, header);
        in.counted(directXFolder, header);
        in.counted(executable, header);
        in.counted(dataFolder, header);
        saveSlotCount = in.i32(header);
        std::uint32_t folderCount = in.u32(header);
        for (std::uint32_t i = 0; i < folderCount; ++i) {
            std::string folder;
            in.counted(folder, "the file ends inside the folder list");
            if (!IsSafeFolderName(folder)) throw Failure{"a folder name leaves the install folder"};
            folders.push_back(std::move(folder));
        }
        const char* record = "the file ends inside a file record";
        std::uint32_t fileCount = in.u32(record);
        for (std::uint32_t i = 0; i < fileCount; ++i) {
            auto entry = std::make_shared<FileEntry>();
            entry->typeMask = in.i32(record);
            in.counted(entry->name, record);
            entry->size = in.u64(record);
            entry->folderIndex = in.i32(record);
            if (entry->folderIndex < -1 ||
                (entry->folderIndex >= 0 && static_cast<std::size_t>(entry->folderIndex) >= folders.size()))
                throw Failure{"a file record names a folder that does not exist"};
            if (!IsSafeFileName(entry->name)) throw Failure{"a file name leaves its folder"};
            files.push_back(std::move(entry));
        }
        file.Close();
        return true;
    } catch (const Failure& f) {
        if (reason) *reason = f.reason;
    } catch (...) {
        if (reason) *reason = "the file cannot be read";
    }
    return false;
}

bool SetupData::writeSetupFile(os::FileSystem& fs, const std::string& path, std::string* reason) const {
    try {
        bool fits = true;
        for (const std::string* s : {&title, &registryRoot, &directXFolder, &executable, &dataFolder})
            fits = fits && s->size() <= 0xFFFF;
        for (const std::string& folder : folders) fits = fits && folder.size() <= 0xFFFF;
        for (const auto& e : files) fits = fits && e->name.size() <= 0xFFFF;
        if (!fits) throw Failure{"a string is longer than 65535 bytes"};
        Writer out;
        out.bytes(kSignature, kSignatureSize);
        for (const std::string* s : {&title, &registryRoot, &directXFolder, &executable, &dataFolder}) out.counted(*s);
        out.u32(static_cast<std::uint32_t>(saveSlotCount));
        out.u32(static_cast<std::uint32_t>(folders.size()));
        for (const std::string& folder : folders) out.counted(folder);
        out.u32(static_cast<std::uint32_t>(files.size()));
        for (const auto& e : files) {
            out.u32(static_cast<std::uint32_t>(e->typeMask));
            out.counted(e->name);
            out.u64(e->size);
            out.u32(static_cast<std::uint32_t>(e->folderIndex));
        }
        // A file that is there keeps its bytes until the new ones are whole on the disk.
        if (!os::RewriteWholeFile(fs, path, out.out)) throw Failure{"the file cannot be written"};
        return true;
    } catch (const Failure& f) {
        if (reason) *reason = f.reason;
    } catch (...) {
        if (reason) *reason = "the file cannot be written";
    }
    return false;
}

}  // namespace setupdata
