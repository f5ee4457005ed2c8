#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "os/bitmap.h"
#include "os/win32/wide.h"

namespace os {
namespace {

class Win32Bitmap : public Bitmap {
public:
    explicit Win32Bitmap(HBITMAP h) : handle_(h) {}
    ~Win32Bitmap() override {
        if (handle_) DeleteObject(handle_);
    }
    void* Handle() const override { return handle_; }

private:
    HBITMAP handle_;
};

class Win32BitmapLoader : public BitmapLoader {
public:
    std::unique_ptr<Bitmap> LoadFromFile(const std::string& path) override {
        std::wstring wide;
        HANDLE h = win32::toWide(path, wide) ? LoadImageW(nullptr, wide.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE) : nullptr;
        return std::make_unique<Win32Bitmap>(static_cast<HBITMAP>(h));
    }
};

}  // namespace

BitmapLoader& systemBitmapLoader() {
    static Win32BitmapLoader loader;
    return loader;
}

}  // namespace os
