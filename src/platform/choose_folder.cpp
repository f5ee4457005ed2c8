#include "platform/choose_folder.h"

namespace platform {

FolderAnswer ChooseFolder(ui::WindowSystem& ws, ui::WindowHandle owner, const std::string& title,
                          const std::string& initialPath) {
    ui::FolderChoice choice = ws.BrowseForFolder(owner, title, initialPath);
    switch (choice.outcome) {
        case ui::FolderChoice::Outcome::Cancelled: return {true, initialPath};
        case ui::FolderChoice::Outcome::Chosen: return {true, choice.path};
        case ui::FolderChoice::Outcome::NoPath: break;
    }
    return {false, initialPath};
}

}  // namespace platform
