#pragma once
// The uninstall as a planned list of removals, worked through one per queue drain; a cancelled run
// resumes with the step that was next.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "install/install_job.h"
#include "support/exceptions.h"

namespace uninstall {

enum StepKind : std::int32_t {
    DeleteFileStep = 0,
    RemoveFolderStep = 1,
    RemoveStartMenuStep = 2,
    RemoveDesktopStep = 3,
    DeleteRegistryKeyStep = 4,
};

struct UninstallStep {
    std::int32_t kind;
    std::string path;
};

// The record names no usable folder: no plan is safe, so nothing is planned.
class NoUninstallPlan : public support::CException {
public:
    std::string GetMessage() const override;
};

enum UninstallResult : int { UninstallDone = 1, UninstallCancelled = 3 };

class UninstallJob {
public:
    // Reads the record and the game's profile, plans every removal and prepares the overall bar; without
    // a readable install type in the profile, the files of both types.
    // Throws NoUninstallPlan (and then touches nothing).
    UninstallJob(ui::WindowSystem& ws, setupdata::SetupContext& context, const install::ProgressPage& page,
                 bool keepSaveFiles);
    virtual ~UninstallJob() = default;

    UninstallResult RunUninstall(const install::ProgressPage& page);

    std::int32_t nextStep = 0;
    std::vector<std::unique_ptr<UninstallStep>> steps;

private:
    void add(StepKind kind, const std::string& path = {});
    void carryOut(const UninstallStep& step);

    ui::WindowSystem& ws_;
    setupdata::SetupContext& context_;
    std::string installFolder_;  // as recorded, without a trailing backslash
};

// The install type the game's profile in `installFolder` records: "SetupType" 0 is the full
// install (1), any other number the voice-less one (0). False when there is no readable value.
bool ReadRecordedInstallType(setupdata::SetupContext& context, const std::string& installFolder,
                             setupdata::InstallType& type);

}  // namespace uninstall
