#include "install/validation.h"

#include "platform/choose_folder.h"
#include "setupdata/names.h"
#include "platform/disk_free_space.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/format.h"

namespace install {
namespace {

std::string rootOf(const std::string& path, char drive) {
    std::string root = std::string(1, drive) + ":\\";
    if (!path.empty()) root[0] = path[0];
    return root;
}

}  // namespace

bool ValidateInstall(ui::WindowSystem& ws, setupdata::SetupContext& context, const InstallChoices& choices,
                     InstallOptions& options) {
    // A description that failed to load may hold no title, or one that is no folder name: the
    // install would land in the root itself, or beside it.
    if (!setupdata::isSafeFileName(context.setupData->title)) {
        ws.ShowMessageBox(choices.hostWindow, std::string(SJ("初期データのロードor登録に失敗しました！")), std::string(SJ("エラー")),
                          ui::kMbOk | ui::kMbIconError);
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
        ws.ShowMessageBox(choices.hostWindow,
                          context.installRoot.substr(0, 1) + std::string(SJ(" ドライブに十分な空き容量がありません。")),
                          std::string(SJ("インストール先のエラー")), ui::kMbOk | ui::kMbIconWarning);
        return false;
    }
    return EnsureFolder(ws, context, choices.hostWindow, options.installFolder, true);
}

bool LocateSourceMedium(ui::WindowSystem& ws, setupdata::SetupContext& context, const InstallChoices& choices,
                        InstallOptions& options) {
    const std::string root = rootOf(options.sourcePath, 'c');
    switch (context.services.files.DriveTypeOf(root)) {
        case os::DriveType::CdRom: return true;
        case os::DriveType::Fixed: {
            platform::FolderAnswer answer = platform::ChooseFolder(
                ws, choices.settingsWindow,
                support::formatText(SJ("【『%s』を挿入したドライブを指定してください】"), context.setupData->title), root);
            if (!answer.succeeded) return false;
            options.sourcePath = answer.path;
            if (!options.sourcePath.empty() && support::endsWithBackslash(options.sourcePath))
                options.sourcePath += context.setupData->dataFolder;
            return true;
        }
        default:
            ws.ShowMessageBox(choices.hostWindow, std::string(SJ("ドライブが判別できません！")),
                              std::string(SJ("インストールエラー")), ui::kMbOk | ui::kMbIconError);
            return false;
    }
}

bool CheckDestinationDrive(ui::WindowSystem& ws, setupdata::SetupContext& context, ui::WindowHandle owner,
                           const std::string& path) {
    if (context.services.files.DriveTypeOf(rootOf(path, 'C')) != os::DriveType::CdRom) return true;
    ws.ShowMessageBox(owner, std::string(SJ("ドライブ名指定が正しくありません。再入力してください。")),
                      std::string(SJ("インストール先のエラー")), ui::kMbOk | ui::kMbIconWarning);
    return false;
}

bool EnsureFolder(ui::WindowSystem& ws, setupdata::SetupContext& context, ui::WindowHandle owner,
                  const std::string& path, bool ask) {
    os::FileSystem& fs = context.services.files;
    if (fs.SetCurrentFolder(path)) {
        if (fs.SetCurrentFolder(context.sourceFolder)) return true;
        ws.ShowMessageBox(owner, std::string(SJ("カレントフォルダの移動に失敗しました。")), std::string(SJ("エラー")),
                          ui::kMbOk | ui::kMbIconWarning);
        return false;
    }
    if (ask && ws.ShowMessageBox(owner, std::string(SJ("指定されたフォルダは存在しません。フォルダを作成しますか？")),
                                 std::string(SJ("インストールフォルダの作成")),
                                 ui::kMbYesNo | ui::kMbIconQuestion) == ui::kIdNo)
        return false;
    if (fs.CreateFolder(path)) return true;
    ws.ShowMessageBox(owner, std::string(SJ("フォルダの作成に失敗しました。")), std::string(SJ("エラー")),
                      ui::kMbOk | ui::kMbIconWarning);
    return false;
}

}  // namespace install
