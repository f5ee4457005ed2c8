#pragma once
// The OS services the setup's logic runs on; passed down, never looked up.
#include "os/bitmap.h"
#include "os/file_system.h"

namespace os {

struct Services {
    FileSystem& files;
    BitmapLoader& bitmaps;
};

Services& systemServices();

}  // namespace os
