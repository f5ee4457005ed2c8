#include "os/named_mutex.h"

#include "os/win32/scoped_handle.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"

namespace os {

struct NamedMutex::Impl {
    win32::ScopedKernelHandle handle;
};

NamedMutex::NamedMutex() : impl_(std::make_unique<Impl>()) {}
NamedMutex::~NamedMutex() { Release(); }

NamedMutex::Result NamedMutex::Create(const std::string& name) {
    Release();
    std::wstring wide;
    if (!win32::ToWide(name, wide)) return Result::Failed;
    HANDLE handle = CreateMutexW(nullptr, TRUE, wide.c_str());
    const DWORD error = GetLastError();
    impl_->handle.Reset(handle);
    if (error == ERROR_ALREADY_EXISTS) return Result::AlreadyExists;
    if (error == ERROR_INVALID_HANDLE) return Result::NameTakenByOtherKind;
    return impl_->handle ? Result::Created : Result::Failed;
}

void NamedMutex::Wait() {
    if (impl_->handle) WaitForSingleObject(impl_->handle.Get(), INFINITE);
}

void NamedMutex::Release() {
    if (!impl_->handle) return;
    ReleaseMutex(impl_->handle.Get());
    impl_->handle.Reset();
}

bool NamedMutex::Held() const { return static_cast<bool>(impl_->handle); }

}  // namespace os
