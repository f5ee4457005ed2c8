#include "os/bitmap.h"

#include <cstdlib>

#include "os/win32/scoped_handle.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"

namespace os {
namespace {

BITMAP InfoOf(HBITMAP h) {
    BITMAP info{};
    if (!h || !GetObjectW(h, sizeof info, &info)) info = {};
    return info;
}

class Win32Bitmap : public Bitmap {
public:
    explicit Win32Bitmap(HBITMAP h) : handle_(h), info_(InfoOf(h)) {}
    void* Handle() const override { return handle_.Get(); }
    long Width() const override { return info_.bmWidth; }
    long Height() const override { return std::abs(info_.bmHeight); }

    std::unique_ptr<Bitmap> Scaled(long width, long height) const override {
        const win32::ScopedScreenDc screen(GetDC(nullptr));
        const win32::ScopedMemoryDc from(CreateCompatibleDC(screen.Get())), to(CreateCompatibleDC(screen.Get()));
        HBITMAP scaled = handle_ && from && to ? CreateCompatibleBitmap(screen.Get(), width, height) : nullptr;
        if (scaled) {
            HGDIOBJ oldFrom = SelectObject(from.Get(), handle_.Get());
            HGDIOBJ oldTo = SelectObject(to.Get(), scaled);
            // HALFTONE averages the source pixels under each target pixel; the brush origin must
            // be set again after the mode changes.
            SetStretchBltMode(to.Get(), HALFTONE);
            SetBrushOrgEx(to.Get(), 0, 0, nullptr);
            const BOOL drawn = StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, Width(), Height(), SRCCOPY);
            SelectObject(from.Get(), oldFrom);
            SelectObject(to.Get(), oldTo);
            if (!drawn) {
                DeleteObject(scaled);
                scaled = nullptr;
            }
        }
        return std::make_unique<Win32Bitmap>(scaled);
    }

private:
    win32::ScopedGdiObject<HBITMAP> handle_;  // null when the file gave no bitmap
    BITMAP info_;
};

class Win32BitmapLoader : public BitmapLoader {
public:
    std::unique_ptr<Bitmap> LoadFromFile(const std::string& path) override {
        std::wstring wide;
        HANDLE h = win32::ToWide(path, wide) ? LoadImageW(nullptr, wide.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)
                                             : nullptr;
        return std::make_unique<Win32Bitmap>(static_cast<HBITMAP>(h));
    }
};

}  // namespace

BitmapLoader& SystemBitmapLoader() {
    static Win32BitmapLoader loader;
    return loader;
}

}  // namespace os
