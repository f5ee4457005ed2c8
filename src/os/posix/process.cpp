#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "os/posix/drive_table.h"
#include "os/process.h"

extern char** environ;

namespace os {
namespace {

class PosixProcesses : public Processes {
public:
    Outcome Start(const std::string& executable, const std::string& workingFolder) override {
        reap();
        std::string program, folder;
        if (!posix::ToHostPath(executable, program) || !posix::ToHostPath(workingFolder, folder))
            return Outcome::Failed;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        char* argv[] = {program.data(), nullptr};
        pid_t pid = 0;
        int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) return Outcome::Failed;
        children_.push_back(pid);
        return Outcome::Started;
    }

    // No consent to ask here: the same start.
    bool StartWithConsent(const std::string& executable, const std::string& workingFolder) override {
        return Start(executable, workingFolder) == Outcome::Started;
    }

private:
    // Nothing waits for a started program; finished ones are collected so none lingers.
    void reap() {
        std::erase_if(children_, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
    }
    std::vector<pid_t> children_;
};

}  // namespace

Processes& SystemProcesses() {
    static PosixProcesses processes;
    return processes;
}

}  // namespace os
