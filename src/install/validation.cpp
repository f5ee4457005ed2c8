#include "install/validation.h"

#include "platform/choose_folder.h"
#include "platform/disk_free_space.h"
#include "setupdata/names.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/format.h"
#include "support/shown_texts.h"

namespace install {
namespace {

std::string RootOf(const std::string& path, char drive) {
    std::string root = std::string(1, drive) + ":\\";
    if (!path.empty()) root[0] = path[0];
    return root;
}

}  // namespace

bool ValidateInstall(ui::WindowSystem& ws, setupdata::SetupContext& context, const InstallChoices& choices,
                     InstallOptions& options) {
    // A description that failed to load may hold no title, or one that is no folder name: the
    // install would land in the root itself, or beside it.
    if (!setupdata::IsSafeFileName(context.setupData->title)) {
        ws.ShowMessageBox(choices.hostWindow, std::string(support::texts::kLoadFailed),
                          std::string(support::texts::kErrorCaption), ui::kMbOk | ui::kMbIconError);
        return false;
    }
    options.sourcePath = context.sourceFolder + context.setupData->dataFolder;
    options.installFolder = context.installFolderPath(true);
    options.installType = choices.installType;
    if (options.installType < 0) return false;
    options.addToStartMenu = choices.addToStartMenu;
    options.addDesktopShortcut = choices.addDesktopShortcut;
    if (!LocateSourceMedium(ws, context, choices, options)) return false;
    if (!CheckDestinationDrive(ws, context, choices.hostWindow, options.installFolder)) return false;
    std::uint64_t freeBytes = 0;
    platform::DiskFreeSpace query(context.services.files, context.installFolderPath(false), freeBytes);
    if (!query.succeeded) freeBytes = 0;
    if (freeBytes < context.setupData->totalSizeOfType(options.installType)) {
        // "%c ドライブに…": the drive letter, the first character of the install root.
        ws.ShowMessageBox(choices.hostWindow, context.installRoot.substr(0, 1) + std::string(support::texts::kDiskFull),
                          std::string(support::texts::kDestinationErrorCaption), ui::kMbOk | ui::kMbIconWarning);
        return false;
    }
    return EnsureFolder(ws, context, choices.hostWindow, options.installFolder, true);
}

bool LocateSourceMedium(ui::WindowSystem& ws, setupdata::SetupContext& context, const InstallChoices& choices,
                        InstallOptions& options) {
    const std::string root = RootOf(options.sourcePath, 'c');
    switch (context.services.files.DriveTypeOf(root)) {
        case os::DriveType::CdRom: return true;
        case os::DriveType::Fixed: {
            platform::FolderAnswer answer = platform::ChooseFolder(
                ws, choices.settingsWindow,
                support::FormatText(support::texts::kInsertMediumFormat, context.setupData->title), root);
            if (!answer.succeeded) return false;
            options.sourcePath = answer.path;
            if (!options.sourcePath.empty() && support::EndsWithBackslash(options.sourcePath))
                options.sourcePath += context.setupData->dataFolder;
            return true;
        }
        default:
            ws.ShowMessageBox(choices.hostWindow, std::string(support::texts::kUnknownDrive),
                              std::string(support::texts::kInstallErrorCaption), ui::kMbOk | ui::kMbIconError);
            return false;
    }
}

bool CheckDestinationDrive(ui::WindowSystem& ws, setupdata::SetupContext& context, ui::WindowHandle owner,
                           const std::string& path) {
    if (context.services.files.DriveTypeOf(RootOf(path, 'C')) != os::DriveType::CdRom) return true;
    ws.ShowMessageBox(owner, std::string(support::texts::kBadDriveName),
                      std::string(support::texts::kDestinationErrorCaption), ui::kMbOk | ui::kMbIconWarning);
    return false;
}

bool EnsureFolder(ui::WindowSystem& ws, setupdata::SetupContext& context, ui::WindowHandle owner,
                  const std::string& path, bool ask) {
    os::FileSystem& fs = context.services.files;
    if (fs.SetCurrentFolder(path)) {
        if (fs.SetCurrentFolder(context.sourceFolder)) return true;
        ws.ShowMessageBox(owner, std::string(support::texts::kChangeFolderFailed),
                          std::string(support::texts::kErrorCaption), ui::kMbOk | ui::kMbIconWarning);
        return false;
    }
    if (ask && ws.ShowMessageBox(owner, std::string(support::texts::kCreateFolderQuestion),
                                 std::string(support::texts::kCreateFolderCaption),
                                 ui::kMbYesNo | ui::kMbIconQuestion) == ui::kIdNo)
        return false;
    if (fs.CreateFolder(path)) return true;
    ws.ShowMessageBox(owner, std::string(support::texts::kCreateFolderFailed),
                      std::string(support::texts::kErrorCaption), ui::kMbOk | ui::kMbIconWarning);
    return false;
}

}  // namespace install
