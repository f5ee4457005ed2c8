#include <pthread.h>

#include <mutex>

#include "os/sync.h"

namespace os {

struct SystemCriticalSection::Impl {
    std::recursive_mutex mutex;
};

SystemCriticalSection::SystemCriticalSection() : impl_(std::make_unique<Impl>()) {}
SystemCriticalSection::~SystemCriticalSection() = default;
void SystemCriticalSection::Enter() { impl_->mutex.lock(); }
void SystemCriticalSection::Leave() { impl_->mutex.unlock(); }

std::uint64_t CurrentThreadId() { return static_cast<std::uint64_t>(pthread_self()); }

}  // namespace os
