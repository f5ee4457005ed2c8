#include "uninstall/undo_install.h"

#include "install/shortcuts.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"

namespace uninstall {

bool ReachesThroughLink(os::FileSystem& fs, const std::string& base, const std::string& path) {
    constexpr std::uint32_t kReparsePoint = 0x400;
    if (path.size() <= base.size() + 1 || path.compare(0, base.size(), base) != 0) return false;
    for (std::size_t sep = support::FindChar(path, '\\', base.size() + 1); sep != support::npos;
         sep = support::FindChar(path, '\\', sep + 1)) {
        std::uint32_t attributes = 0;
        if (fs.GetAttributes(path.substr(0, sep), attributes) && (attributes & kReparsePoint)) return true;
    }
    return false;
}

void RemoveStartMenuEntries(setupdata::SetupContext& context) {
    const std::string folder = install::StartMenuFolder(context);
    if (folder.empty()) return;
    for (std::string_view name : {SJ("ゲームスタート"), SJ("ヘルプの実行")}) {
        context.services.files.RemoveFile(folder + "\\" + install::ShortcutFileName(context, std::string(name)));
        context.services.files.RemoveFolder(folder);  // goes once nothing else is left in it
    }
}

void RemoveDesktopShortcut(setupdata::SetupContext& context) {
    std::string desktop;
    if (!context.services.shell.DesktopFolder(desktop)) return;
    context.services.files.RemoveFile(support::WithTrailingBackslash(desktop) +
                                      install::ShortcutFileName(context, context.setupData->title));
}

int UndoInstall(setupdata::SetupContext& context, install::InstallJob& job) {
    job.copier.reset();  // closes a half-written file so that it can go
    os::FileSystem& fs = context.services.files;
    for (auto it = job.undoLog.rbegin(); it != job.undoLog.rend(); ++it) {
        const install::UndoRecord& record = **it;
        switch (record.kind) {
            case install::UndoFolder:
                if (!ReachesThroughLink(fs, job.installFolder, record.path)) fs.RemoveFolder(record.path);
                break;
            case install::UndoFile:
                if (!ReachesThroughLink(fs, job.installFolder, record.path)) fs.RemoveFile(record.path);
                break;
            case install::UndoKeptFile:
                // Replaces whatever the install left there; a failure leaves the old file kept.
                if (!ReachesThroughLink(fs, job.installFolder, record.path))
                    fs.RenameFile(record.keptAs, record.path, true);
                break;
            case install::UndoStartMenu: RemoveStartMenuEntries(context); break;
            case install::UndoDesktop: RemoveDesktopShortcut(context); break;
            default: break;
        }
    }
    return 1;
}

}  // namespace uninstall
