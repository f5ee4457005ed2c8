#pragma once
// The shell's folder chooser with the initial folder preselected: a cancel answers the initial
// path, an item without a file-system path answers failure.
#include <string>

#include "ui/window_system.h"

namespace platform {

struct FolderAnswer {
    bool succeeded;
    std::string path;
};

FolderAnswer ChooseFolder(ui::WindowSystem& ws, ui::WindowHandle owner, const std::string& title,
                          const std::string& initialPath);

}  // namespace platform
