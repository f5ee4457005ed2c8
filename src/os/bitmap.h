#pragma once
// A bitmap loaded from a file, for the banner.
#include <memory>
#include <string>

namespace os {

class Bitmap {
public:
    virtual ~Bitmap() = default;
    // The system's handle (HBITMAP on Windows); null when loading failed.
    virtual void* Handle() const = 0;
    // In pixels; 0 by 0 when loading failed.
    virtual long Width() const = 0;
    virtual long Height() const = 0;
    // A copy drawn at another size with a smoothing filter; its handle is null when it could not
    // be made.
    virtual std::unique_ptr<Bitmap> Scaled(long width, long height) const = 0;
};

class BitmapLoader {
public:
    virtual ~BitmapLoader() = default;
    // Never null; the bitmap's handle is null when the file is missing or no bitmap.
    virtual std::unique_ptr<Bitmap> LoadFromFile(const std::string& path) = 0;
};

BitmapLoader& SystemBitmapLoader();

}  // namespace os
