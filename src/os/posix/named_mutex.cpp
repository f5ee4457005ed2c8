// Off Windows the mutex is an exclusive lock on a file named after it; the kernel drops the lock
// when the process ends, however it ends.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "os/named_mutex.h"

namespace os {

struct NamedMutex::Impl {
    int fd = -1;
};

namespace {
std::string LockPath(const std::string& name) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : name) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/setup-mutex-" + std::to_string(getuid()) + "-" + hex + ".lock";
}
}  // namespace

NamedMutex::NamedMutex() : impl_(std::make_unique<Impl>()) {}
NamedMutex::~NamedMutex() { Release(); }

NamedMutex::Result NamedMutex::Create(const std::string& name) {
    Release();
    int fd = ::open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EISDIR ? Result::NameTakenByOtherKind : Result::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return taken ? Result::AlreadyExists : Result::Failed;
    }
    impl_->fd = fd;
    return Result::Created;
}

void NamedMutex::Wait() {
    if (impl_->fd >= 0) ::flock(impl_->fd, LOCK_EX);
}

void NamedMutex::Release() {
    if (impl_->fd < 0) return;
    ::flock(impl_->fd, LOCK_UN);
    ::close(impl_->fd);
    impl_->fd = -1;
}

bool NamedMutex::Held() const { return impl_->fd >= 0; }

}  // namespace os
