#include "os/sync.h"

#include "os/win32/windows_api.h"

namespace os {

struct SystemCriticalSection::Impl {
    CRITICAL_SECTION section;
};

SystemCriticalSection::SystemCriticalSection() : impl_(std::make_unique<Impl>()) {
    InitializeCriticalSection(&impl_->section);
}
SystemCriticalSection::~SystemCriticalSection() { DeleteCriticalSection(&impl_->section); }
void SystemCriticalSection::Enter() { EnterCriticalSection(&impl_->section); }
void SystemCriticalSection::Leave() { LeaveCriticalSection(&impl_->section); }

std::uint64_t CurrentThreadId() { return GetCurrentThreadId(); }

}  // namespace os
