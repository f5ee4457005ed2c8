#pragma once
// A validated install as a resumable job: every call of RunInstall continues where the last one
// stopped, and everything it creates goes into the undo log.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "install/file_copier.h"
#include "install/validation.h"

namespace install {

enum InstallPhase : std::int32_t {
    CreateFolders = 0,
    NextFile = 1,
    CopyFile = 2,
    FileCopied = 3,
    Finish = 4,
    Finished = 5
};
enum InstallResult : int { Succeeded = 1, Failed = 2, Cancelled = 3 };
// UndoKeptFile: `path` was there before the install and waits as `keptAs` beside it; the rollback
// puts it back, a finished install removes it.
enum UndoKind : std::int32_t { UndoFolder = 0, UndoFile = 1, UndoStartMenu = 2, UndoDesktop = 3, UndoKeptFile = 4 };

struct UndoRecord {
    std::int32_t kind;
    std::string path;
    std::string keptAs;
};

// The first free name of "<file>.bak", "<file>.bak2", ... beside a file; "" when all are taken.
std::string KeptCopyPath(os::FileSystem& fs, const std::string& path);

// A progress page as a job sees it: the command its Cancel leaves, and the controls the job
// drives, whose ids the page names. The uninstall drives the overall bar alone.
struct ProgressPage {
    ui::WindowHandle window;
    std::int32_t* pendingCommand;
    int overallBar;
    int fileBar = ui::kNoId;
    int statusText = ui::kNoId;
};

class InstallJob {
public:
    InstallJob(ui::WindowSystem& ws, setupdata::SetupContext& context, const InstallOptions& options);

    void PrepareInstall(const ProgressPage& page);
    InstallResult RunInstall(const ProgressPage& page);

    InstallPhase phase = CreateFolders;
    std::uint32_t folderCursor = 0;
    std::uint32_t fileCursor = 0;
    std::unique_ptr<FileCopier> copier;
    std::string sourcePath;
    std::string installFolder;
    int installType;
    bool addToStartMenu;
    bool addDesktopShortcut;
    std::vector<std::unique_ptr<UndoRecord>> undoLog;

private:
    void log(UndoKind kind, const std::string& path = {}, const std::string& keptAs = {});
    bool keepAside(const std::string& path);  // renames a file that is there out of the way
    bool keepCopy(const std::string& path);   // copies a file that is there, which is then rewritten
    void dropKeptFiles();
    bool startNextFile(const ProgressPage& page);  // false: failed
    bool finish(const ProgressPage& page);

    ui::WindowSystem& ws_;
    setupdata::SetupContext& context_;
};

}  // namespace install
