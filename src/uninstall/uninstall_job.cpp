#include "uninstall/uninstall_job.h"

#include <cstdio>

#include "install/game_profile.h"
#include "install/installed_record.h"
#include "platform/pump_messages.h"
#include "setupdata/names.h"
#include "setupdata/registration.h"
#include "support/cp932.h"
#include "uninstall/undo_install.h"

namespace uninstall {
namespace {

std::string SaveName(const std::string& folder, const char* stem, int slot, const char* extension) {
    char name[64];
    std::snprintf(name, sizeof name, "Save\\%s%04d.%s", stem, slot, extension);
    return folder + name;
}

}  // namespace

std::string NoUninstallPlan::GetMessage() const { return "the installed-state record names no usable install"; }

bool ReadRecordedInstallType(setupdata::SetupContext& context, const std::string& installFolder,
                             setupdata::InstallType& type) {
    std::int32_t value = 0;
    if (!setupdata::ReadProfileInt(context.services.files, install::GameProfilePath(context, installFolder), "PATH",
                                   "SetupType", value))
        return false;
    type = value == 0 ? 1 : 0;
    return true;
}

UninstallJob::UninstallJob(ui::WindowSystem& ws, setupdata::SetupContext& context, const install::ProgressPage& page,
                           bool keepSaveFiles)
    : ws_(ws), context_(context) {
    const setupdata::SetupData& data = *context.setupData;
    const std::string recorded = install::InstalledFolder(context);
    // Only a full path may anchor removals: a relative one would resolve against the medium, and a
    // drive root or a ".." part would reach beyond any folder an install makes.
    if (!setupdata::IsSafeInstallFolder(recorded)) throw NoUninstallPlan();
    const std::string folder = support::WithTrailingBackslash(recorded);
    installFolder_ = folder.substr(0, folder.size() - 1);
    // A profile that lost its install type still leaves the folder the files went to: the files
    // of either type are planned then, each once, all below that folder.
    setupdata::InstallType type = 0;
    const bool typeKnown = ReadRecordedInstallType(context, folder, type);

    add(RemoveStartMenuStep);
    add(RemoveDesktopStep);
    if (!keepSaveFiles) {
        add(DeleteFileStep, folder + "Save\\env.ini");
        const int slots = data.saveSlotCount > 0 ? data.saveSlotCount : 0;  // a negative count means none
        const std::pair<const char*, int> groups[] = {{"SAVE", slots}, {"QSAVE", 10}, {"ASAVE", 10}};
        for (const auto& [stem, count] : groups)
            for (int slot = 1; slot <= count; ++slot)
                for (const char* extension : {"DAT", "LOG", "BMP"})
                    add(DeleteFileStep, SaveName(folder, stem, slot, extension));
    }
    add(DeleteFileStep, folder + "Save\\unread.ini");
    for (std::size_t i = 0; i < data.files.size(); ++i) {
        std::string relative = data.EntryRelativePath(type, i);
        if (relative.empty() && !typeKnown) relative = data.EntryRelativePath(1, i);
        if (!relative.empty()) add(DeleteFileStep, folder + relative);
    }
    for (const std::string& name : data.folders) add(RemoveFolderStep, folder + name);
    add(RemoveFolderStep, folder.substr(0, folder.size() - 1));
    add(DeleteRegistryKeyStep);

    nextStep = 0;
    ws_.SetProgressRange(page.window, page.overallBar, static_cast<std::uint32_t>(steps.size()));
    ws_.SetProgressStep(page.window, page.overallBar, 1);
    platform::SetProgressPosition(ws_, page.window, page.overallBar, 0);
}

void UninstallJob::add(StepKind kind, const std::string& path) {
    steps.push_back(std::make_unique<UninstallStep>(UninstallStep{kind, path}));
}

void UninstallJob::carryOut(const UninstallStep& step) {
    os::FileSystem& fs = context_.services.files;
    switch (step.kind) {
        case DeleteFileStep:
            if (!ReachesThroughLink(fs, installFolder_, step.path)) fs.RemoveFile(step.path);
            break;
        case RemoveFolderStep:
            if (!ReachesThroughLink(fs, installFolder_, step.path)) fs.RemoveFolder(step.path);
            break;
        case RemoveStartMenuStep: RemoveStartMenuEntries(context_); break;
        case RemoveDesktopStep: RemoveDesktopShortcut(context_); break;
        case DeleteRegistryKeyStep: context_.services.registry.DeleteKey(context_.registryKeyPath); break;
        default: break;
    }
}

UninstallResult UninstallJob::RunUninstall(const install::ProgressPage& page) {
    while (nextStep < static_cast<std::int32_t>(steps.size())) {
        platform::PumpMessages(ws_, page.window);
        if (*page.pendingCommand != 0) {
            *page.pendingCommand = 0;
            return UninstallCancelled;
        }
        carryOut(*steps[static_cast<std::size_t>(nextStep)]);
        platform::StepProgress(ws_, page.window, page.overallBar);
        ++nextStep;
    }
    return UninstallDone;
}

}  // namespace uninstall
