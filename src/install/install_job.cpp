#include "install/install_job.h"

#include "install/game_profile.h"
#include "install/installed_record.h"
#include "install/shortcuts.h"
#include "platform/pump_messages.h"
#include "support/cp932.h"
#include "support/cp932_literal.h"
#include "support/shown_texts.h"

namespace install {

using platform::SetProgressPosition;
using platform::StepProgress;

InstallJob::InstallJob(ui::WindowSystem& ws, setupdata::SetupContext& context, const InstallOptions& options)
    : sourcePath(options.sourcePath),
      installFolder(options.installFolder),
      installType(options.installType),
      addToStartMenu(options.addToStartMenu),
      addDesktopShortcut(options.addDesktopShortcut),
      ws_(ws),
      context_(context) {}

std::string KeptCopyPath(os::FileSystem& fs, const std::string& path) {
    for (int n = 1; n < 100; ++n) {
        std::string name = path + ".bak" + (n > 1 ? std::to_string(n) : std::string());
        if (!os::PathExists(fs, name)) return name;
    }
    return {};
}

void InstallJob::log(UndoKind kind, const std::string& path, const std::string& keptAs) {
    undoLog.push_back(std::make_unique<UndoRecord>(UndoRecord{kind, path, keptAs}));
}

bool InstallJob::keepAside(const std::string& path) {
    os::FileSystem& fs = context_.services.files;
    std::uint32_t attributes = 0;
    if (!fs.GetAttributes(path, attributes) || (attributes & os::kAttributeFolder)) return true;  // nothing to keep
    // A rename keeps the old file whole, on the same volume and at no cost; it never replaces.
    const std::string kept = KeptCopyPath(fs, path);
    if (kept.empty() || !fs.RenameFile(path, kept, false)) return false;
    log(UndoKeptFile, path, kept);
    return true;
}

bool InstallJob::keepCopy(const std::string& path) {
    os::FileSystem& fs = context_.services.files;
    std::string bytes;
    const std::string kept = KeptCopyPath(fs, path);
    if (kept.empty() || !os::ReadWholeFile(fs, path, bytes)) return false;
    os::OpenRequest request;
    request.write = true;
    request.disposition = os::Disposition::CreateNew;
    auto file = fs.Open(kept, request);
    if (!file) return false;  // never removed: it may be a copy an earlier setup kept
    bool written = file->Write(bytes.data(), bytes.size()) && file->Flush();
    file.reset();
    if (!written) {
        fs.RemoveFile(kept);
        return false;
    }
    log(UndoKeptFile, path, kept);
    return true;
}

void InstallJob::dropKeptFiles() {
    for (const auto& record : undoLog)
        if (record->kind == UndoKeptFile) context_.services.files.RemoveFile(record->keptAs);
}

void InstallJob::PrepareInstall(const ProgressPage& page) {
    const setupdata::SetupData& data = *context_.setupData;
    ws_.SetProgressRange(page.window, page.overallBar,
                         static_cast<std::uint32_t>(data.folders.size()) +
                             static_cast<std::uint32_t>(data.fileCountOfType(installType)) + 1);
    ws_.SetProgressStep(page.window, page.overallBar, 1);
    SetProgressPosition(ws_, page.window, page.overallBar, 0);
    phase = CreateFolders;
    folderCursor = 0;
    fileCursor = 0;
    ws_.SetProgressRange(page.window, page.fileBar, static_cast<std::uint32_t>(data.folders.size()));
    SetProgressPosition(ws_, page.window, page.fileBar, 0);
    ws_.SetProgressStep(page.window, page.fileBar, 1);
    ws_.SetText(page.window, page.statusText, std::string(support::texts::kCreatingFolders));
    undoLog.clear();
    log(UndoFolder, installFolder);
}

bool InstallJob::startNextFile(const ProgressPage& page) {
    const setupdata::SetupData& data = *context_.setupData;
    std::string relative = data.EntryRelativePath(installType, fileCursor);
    while (relative.empty() && fileCursor < data.files.size())
        relative = data.EntryRelativePath(installType, ++fileCursor);
    if (relative.empty()) {
        copier.reset();
        ws_.SetText(page.window, page.statusText, std::string(support::texts::kWritingRegistry));
        phase = Finish;
        return true;
    }
    if (!keepAside(support::WithTrailingBackslash(installFolder) + relative)) return false;
    copier = std::make_unique<FileCopier>(ws_, context_.services.files, sourcePath, installFolder, relative);
    if (!copier->ready) return false;
    log(UndoFile, copier->DestinationPath());
    ws_.SetProgressRange(page.window, page.fileBar,
                         static_cast<std::uint32_t>(copier->Status().size / copier->BufferSize()));
    SetProgressPosition(ws_, page.window, page.fileBar, 0);
    ws_.SetProgressStep(page.window, page.fileBar, 1);
    ws_.SetText(page.window, page.statusText, std::string(support::texts::kCopyingPrefix) + relative);
    ++fileCursor;
    phase = CopyFile;
    return true;
}

bool InstallJob::finish(const ProgressPage& page) {
    const std::string target = GameTargetPath(context_, installFolder);
    if (addToStartMenu) {
        log(UndoStartMenu);
        if (!CreateStartMenuShortcut(ws_, context_, page.window,
                                     ShortcutFileName(context_, std::string(SJ("ゲームスタート"))), target,
                                     installFolder) ||
            !CreateStartMenuShortcut(ws_, context_, page.window,
                                     ShortcutFileName(context_, std::string(SJ("ヘルプの実行"))),
                                     HelpFilePath(context_, installFolder), installFolder))
            return false;
    }
    if (addDesktopShortcut) {
        log(UndoDesktop);
        if (!CreateDesktopShortcut(context_, ShortcutFileName(context_, context_.setupData->title), target,
                                   installFolder))
            return false;
    }
    // A profile this install brings into being goes with it when the install is taken back; one
    // that was there before (the player's own settings) gets its bytes back. It is made here, and
    // only when no file has its name, so that the rollback never deletes one it did not make.
    const std::string profile = GameProfilePath(context_, installFolder);
    if (os::PathExists(context_.services.files, profile)) {
        if (!keepCopy(profile)) return false;
    } else {
        os::OpenRequest request;
        request.write = true;
        request.disposition = os::Disposition::CreateNew;
        if (!context_.services.files.Open(profile, request)) return false;
        log(UndoFile, profile);
    }
    if (!WriteGameProfile(context_, installType, installFolder, sourcePath)) return false;
    if (!RecordInstallFolder(context_, installFolder)) return false;
    dropKeptFiles();
    StepProgress(ws_, page.window, page.overallBar);
    phase = Finished;
    return true;
}

InstallResult InstallJob::RunInstall(const ProgressPage& page) {
    const setupdata::SetupData& data = *context_.setupData;
    for (;;) {
        switch (phase) {
            case CreateFolders: {
                if (folderCursor >= data.folders.size()) {
                    phase = NextFile;
                    break;
                }
                const std::string path = installFolder + "\\" + *data.folderName(folderCursor);
                if (!EnsureFolder(ws_, context_, page.window, path, false)) return Failed;
                ++folderCursor;
                log(UndoFolder, path);
                StepProgress(ws_, page.window, page.fileBar);
                StepProgress(ws_, page.window, page.overallBar);
                break;
            }
            case FileCopied: StepProgress(ws_, page.window, page.overallBar); [[fallthrough]];
            case NextFile:
                if (!startNextFile(page)) return Failed;
                break;
            case CopyFile:
                for (;;) {
                    platform::PumpMessages(ws_, page.window);
                    if (*page.pendingCommand != 0) {
                        *page.pendingCommand = 0;
                        return Cancelled;
                    }
                    CopyResult step = copier->CopyStep();
                    if (step == CopyError) return Failed;
                    if (step == CopyComplete) {
                        phase = FileCopied;
                        break;
                    }
                    StepProgress(ws_, page.window, page.fileBar);
                }
                break;
            case Finish:
                if (!finish(page)) return Failed;
                break;
            case Finished: return Succeeded;
        }
    }
}

}  // namespace install
