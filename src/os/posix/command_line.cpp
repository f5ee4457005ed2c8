#include "os/command_line.h"

namespace os {

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }
void PrepareConsole() {}

}  // namespace os
