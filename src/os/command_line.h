#pragma once
// A command-line tool's arguments and output, in UTF-8 on every platform.
#include <string>
#include <vector>

namespace os {

std::vector<std::string> CommandLineArguments(int argc, char** argv);
// Makes a console show UTF-8 output as such.
void PrepareConsole();

// Another command-line program run to its end: found on the search path, given UTF-8 arguments
// (the first names it), what it printed on either stream kept.
struct ProgramRun {
    enum class Outcome { Finished, NotFound, Unsupported, Failed };
    Outcome outcome = Outcome::Failed;
    int exitCode = -1;
    std::string output;
};
ProgramRun RunProgram(const std::vector<std::string>& arguments);

}  // namespace os
