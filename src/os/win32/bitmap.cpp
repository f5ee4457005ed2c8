#include "os/bitmap.h"

#include "os/win32/scoped_handle.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"

namespace os {
namespace {

class Win32Bitmap : public Bitmap {
public:
    explicit Win32Bitmap(HBITMAP h) : handle_(h) {}
    void* Handle() const override { return handle_.Get(); }

private:
    win32::ScopedGdiObject<HBITMAP> handle_;  // null when the file gave no bitmap
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
