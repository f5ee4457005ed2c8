#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "os/named_mutex.h"
#include "os/win32/wide.h"

namespace os {

struct NamedMutex::Impl {
    HANDLE handle = nullptr;
};

NamedMutex::NamedMutex() : impl_(std::make_unique<Impl>()) {}
NamedMutex::~NamedMutex() { Release(); }

NamedMutex::Result NamedMutex::Create(const std::string& name) {
    Release();
    std::wstring wide;
    if (!win32::toWide(name, wide)) return Result::Failed;
    impl_->handle = CreateMutexW(nullptr, TRUE, wide.c_str());
    DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return Result::AlreadyExists;
    if (error == ERROR_INVALID_HANDLE) return Result::NameTakenByOtherKind;
    return impl_->handle ? Result::Created : Result::Failed;
}

void NamedMutex::Wait() {
    if (impl_->handle) WaitForSingleObject(impl_->handle, INFINITE);
}

void NamedMutex::Release() {
    if (!impl_->handle) return;
    ReleaseMutex(impl_->handle);
    CloseHandle(impl_->handle);
    impl_->handle = nullptr;
}

bool NamedMutex::Held() const { return impl_->handle != nullptr; }

}  // namespace os
