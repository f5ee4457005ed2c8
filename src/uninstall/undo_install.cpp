#include "uninstall/undo_install.h"

#include "install/shortcuts.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"

namespace uninstall {

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
    context.services.files.RemoveFile(support::withTrailingBackslash(desktop) +
                                      install::ShortcutFileName(context, context.setupData->title));
}

int UndoInstall(setupdata::SetupContext& context, install::InstallJob& job) {
    job.copier.reset();  // closes a half-written file so that it can go
    for (auto it = job.undoLog.rbegin(); it != job.undoLog.rend(); ++it) {
        const install::UndoRecord& record = **it;
        switch (record.kind) {
            case install::UndoFolder: context.services.files.RemoveFolder(record.path); break;
            case install::UndoFile: context.services.files.RemoveFile(record.path); break;
            case install::UndoStartMenu: RemoveStartMenuEntries(context); break;
            case install::UndoDesktop: RemoveDesktopShortcut(context); break;
            default: break;
        }
    }
    return 1;
}

}  // namespace uninstall
