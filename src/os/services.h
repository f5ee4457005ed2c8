#pragma once
// The OS services the setup's logic runs on; passed down, never looked up.
#include "os/bitmap.h"
#include "os/file_system.h"
#include "os/process.h"
#include "os/registry.h"
#include "os/shell.h"

namespace os {

struct Services {
    FileSystem& files;
    BitmapLoader& bitmaps;
    Registry& registry;
    Processes& processes;
    Shell& shell;
};

Services& SystemServices();

}  // namespace os
