#include "os/command_line.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace os {

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }
void PrepareConsole() {}

ProgramRun RunProgram(const std::vector<std::string>& arguments) {
    ProgramRun run;
    if (arguments.empty()) return run;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (rc != 0) {
        ::close(pipeEnds[0]);
        run.outcome = rc == ENOENT ? ProgramRun::Outcome::NotFound : ProgramRun::Outcome::Failed;
        return run;
    }
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        run.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return run;
    if (WIFEXITED(status)) {
        run.outcome = ProgramRun::Outcome::Finished;
        run.exitCode = WEXITSTATUS(status);
    }
    return run;
}

}  // namespace os
