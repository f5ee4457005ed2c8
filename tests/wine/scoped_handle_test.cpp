// The owners of Win32 handles and COM interfaces: each handle is closed once, when its owner dies,
// is reset or is given another, and never after it was handed on.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <utility>

#include "os/win32/scoped_handle.h"
#include "test_support.h"

#include <shlobj.h>

namespace {

using namespace os::win32;
using testing_support::TempFolder;

// Opened without sharing: a second open fails while the handle lives.
ScopedFileHandle OpenAlone(const std::filesystem::path& path) {
    return ScopedFileHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool HeldOpen(const std::filesystem::path& path) {
    if (OpenAlone(path)) return false;
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

bool KernelHandleOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(ScopedHandle, AFileIsClosedWhenItsOwnerDiesAndCanThenBeDeleted) {
    TempFolder folder;
    const std::filesystem::path path = folder.host("held.bin");
    {
        const ScopedFileHandle file = OpenAlone(path);
        ASSERT_TRUE(file);
        EXPECT_TRUE(HeldOpen(path));
        EXPECT_FALSE(DeleteFileW(path.c_str()));
    }
    EXPECT_FALSE(HeldOpen(path));
    EXPECT_TRUE(DeleteFileW(path.c_str()));

    // A failed open owns nothing and closes nothing.
    const ScopedFileHandle missing(CreateFileW(folder.host("none\\none.bin").c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
}

TEST(ScopedHandle, MovesHandOnResetAndTakeCloseExactlyWhatTheySay) {
    TempFolder folder;
    const std::filesystem::path first = folder.host("first.bin"), second = folder.host("second.bin");

    ScopedFileHandle a = OpenAlone(first);
    const HANDLE raw = a.Get();
    ScopedFileHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), raw);
    EXPECT_TRUE(HeldOpen(first));

    // Taking another handle closes the one held before, and only that one.
    ScopedFileHandle c = OpenAlone(second);
    c = std::move(b);
    EXPECT_FALSE(b);
    EXPECT_FALSE(HeldOpen(second));
    EXPECT_TRUE(HeldOpen(first));

    c.Reset(OpenAlone(second).Take());
    EXPECT_FALSE(HeldOpen(first));
    EXPECT_TRUE(HeldOpen(second));

    // Given up, the handle stays open and is the caller's to close.
    const HANDLE given = c.Take();
    EXPECT_FALSE(c);
    EXPECT_TRUE(KernelHandleOpen(given));
    EXPECT_TRUE(CloseHandle(given));

    // Closed at once, with the system's answer; a second close closes nothing.
    ScopedFileHandle d = OpenAlone(first);
    const HANDLE closed = d.Get();
    EXPECT_TRUE(d.Close());
    EXPECT_FALSE(d);
    EXPECT_FALSE(KernelHandleOpen(closed));
    EXPECT_TRUE(d.Close());
    d.Reset();
    EXPECT_FALSE(HeldOpen(first));
}

TEST(ScopedHandle, EachKindOfHandleIsGoneWhenItsOwnerDies) {
    const std::wstring name = L"setup-test-scoped-" + std::to_wstring(GetCurrentProcessId());
    HANDLE mutex;
    {
        const ScopedKernelHandle owner(CreateMutexW(nullptr, FALSE, name.c_str()));
        ASSERT_TRUE(owner);
        mutex = owner.Get();
        const ScopedKernelHandle again(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()));
        EXPECT_TRUE(again);
    }
    EXPECT_FALSE(KernelHandleOpen(mutex));
    EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str()), nullptr);  // the last handle took the name along

    const std::wstring path = L"Software\\setup-test-scoped-" + std::to_wstring(GetCurrentProcessId());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    {
        const ScopedRegistryKey owner(key);
        EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);

    HFONT font;
    {
        const ScopedGdiObject<HFONT> owner(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                       FF_DONTCARE, L"IPAPGothic"));
        ASSERT_TRUE(owner);
        font = owner.Get();
        EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    }
    EXPECT_EQ(GetObjectType(font), 0u);
}

// On a thread of its own, in an apartment of its own: shell objects made on the test program's
// main thread leave Wine's folder chooser there unable to reach its preselected folder.
TEST(ScopedComPtr, EveryReferenceTakenIsGivenBackOnce) {
    std::thread([] {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        IShellLinkW* raw = nullptr;
        {
            ScopedComPtr<IShellLinkW> link;
            ASSERT_TRUE(SUCCEEDED(
                CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Receive())));
            raw = link.Get();
            raw->AddRef();  // the test's own reference keeps the object alive to count with
            ScopedComPtr<IPersistFile> file;
            ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.Receive())));
            ScopedComPtr<IShellLinkW> moved(std::move(link));
            EXPECT_FALSE(link);
            EXPECT_EQ(moved.Get(), raw);
            // Receiving again gives back what was held first.
            ASSERT_TRUE(SUCCEEDED(moved->QueryInterface(IID_IPersistFile, file.Receive())));
            EXPECT_EQ(raw->AddRef(), 4u);  // the test's, moved's, file's, and this one
            raw->Release();
        }
        EXPECT_EQ(raw->Release(), 0u);
        CoUninitialize();
    }).join();
}

}  // namespace
