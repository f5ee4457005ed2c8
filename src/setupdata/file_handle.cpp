#include "setupdata/file_handle.h"

#include <cstring>

#include "support/owning_buffer.h"

namespace setupdata {
namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

os::OpenRequest OpenRequestFromFlags(unsigned flags) {
    os::OpenRequest r;
    if (flags & kModeCreate)
        r.disposition = (flags & kModeAlways) ? os::Disposition::OpenAlways
                        : (flags & kModeNew)  ? os::Disposition::CreateNew
                                              : os::Disposition::CreateAlways;
    else
        r.disposition = os::Disposition::OpenExisting;
    r.read = flags & kModeRead;
    r.write = flags & kModeWrite;
    r.inheritable = !(flags & kModeNoInherit);
    r.shareRead = flags & kModeShareRead;
    r.shareWrite = flags & kModeShareWrite;
    return r;
}

bool FileHandle::Open(const std::string& path, const os::OpenRequest& request) {
    Close();
    file_ = fs_.Open(path, request);
    if (file_) path_ = path;
    return IsOpen();
}

bool FileHandle::ReadExactly(void* buffer, std::size_t n) {
    if (!file_) return false;
    auto* out = static_cast<char*>(buffer);
    while (n > 0) {
        if (readPos_ == readBuffer_.size()) {
            readBuffer_.clear();
            readPos_ = 0;
            if (n >= kBufferSize) {  // large reads (the copy's chunks) go straight through
                std::size_t got = 0;
                return file_->Read(out, n, got) && got == n;
            }
            readBuffer_.resize(kBufferSize);
            std::size_t got = 0;
            bool ok = file_->Read(readBuffer_.data(), kBufferSize, got);
            readBuffer_.resize(ok ? got : 0);
            if (readBuffer_.empty()) return false;
        }
        std::size_t take = std::min(n, readBuffer_.size() - readPos_);
        std::memcpy(out, readBuffer_.data() + readPos_, take);
        readPos_ += take;
        out += take;
        n -= take;
    }
    return true;
}

bool FileHandle::ReadSome(void* buffer, std::size_t n, std::size_t& got) {
    got = 0;
    if (!file_) return false;
    std::size_t buffered = std::min(n, readBuffer_.size() - readPos_);
    std::memcpy(buffer, readBuffer_.data() + readPos_, buffered);
    readPos_ += buffered;
    std::size_t more = 0;
    bool ok = buffered == n || file_->Read(static_cast<char*>(buffer) + buffered, n - buffered, more);
    got = buffered + more;
    return ok;
}

bool FileHandle::ReadCountedBody(std::string& target, std::size_t n) {
    support::COwningBuffer<char> body;
    body.Resize(n + 1);
    body[n] = '\0';
    if (!ReadExactly(body.Get(), n)) return false;
    target.assign(body.Get());  // up to the first NUL
    return true;
}

bool FileHandle::Write(const void* buffer, std::size_t n) {
    if (!file_ || writeFailed_) return false;
    if (writeBuffer_.empty() && n >= kBufferSize) return file_->Write(buffer, n) || (writeFailed_ = true, false);
    writeBuffer_.append(static_cast<const char*>(buffer), n);
    return writeBuffer_.size() < kBufferSize || Flush();
}

bool FileHandle::Flush() {
    if (!file_ || writeFailed_) return false;
    if (!writeBuffer_.empty() && !file_->Write(writeBuffer_.data(), writeBuffer_.size())) writeFailed_ = true;
    writeBuffer_.clear();
    return !writeFailed_;
}

bool FileHandle::Size(std::uint64_t& size) { return file_ && file_->Size(size); }

void FileHandle::Close() {
    if (file_) Flush();
    file_.reset();
    path_.clear();
    readBuffer_.clear();
    readPos_ = 0;
    writeBuffer_.clear();
    writeFailed_ = false;
}

}  // namespace setupdata
