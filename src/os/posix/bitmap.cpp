#include <cstdint>
#include <cstdlib>
#include <string>

#include "os/bitmap.h"
#include "os/file_system.h"

namespace os {
namespace {

// Off Windows a bitmap is its file's bytes, kept when they start like a BMP with a real size.
std::int32_t Le32(const std::string& b, std::size_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
                                     static_cast<std::uint8_t>(b[at + 2]) << 16 |
                                     static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24);
}

class PosixBitmap : public Bitmap {
public:
    explicit PosixBitmap(std::string bytes) : bytes_(std::move(bytes)) {
        if (!bytes_.empty()) width_ = Le32(bytes_, 18), height_ = std::abs(Le32(bytes_, 22));
    }
    PosixBitmap(std::string bytes, long width, long height)
        : bytes_(std::move(bytes)), width_(width), height_(height) {}
    void* Handle() const override { return bytes_.empty() ? nullptr : const_cast<char*>(bytes_.data()); }
    long Width() const override { return width_; }
    long Height() const override { return height_; }
    // Nothing draws a bitmap off Windows: the copy keeps the file's bytes and takes the new size.
    std::unique_ptr<Bitmap> Scaled(long width, long height) const override {
        return std::make_unique<PosixBitmap>(bytes_, width, height);
    }

private:
    std::string bytes_;
    long width_ = 0, height_ = 0;
};

class PosixBitmapLoader : public BitmapLoader {
public:
    std::unique_ptr<Bitmap> LoadFromFile(const std::string& path) override {
        std::string bytes;
        bool valid = ReadWholeFile(SystemFileSystem(), path, bytes) && bytes.size() >= 54 && bytes[0] == 'B' &&
                     bytes[1] == 'M' && Le32(bytes, 18) > 0 && Le32(bytes, 22) != 0;
        return std::make_unique<PosixBitmap>(valid ? std::move(bytes) : std::string());
    }
};

}  // namespace

BitmapLoader& SystemBitmapLoader() {
    static PosixBitmapLoader loader;
    return loader;
}

}  // namespace os
