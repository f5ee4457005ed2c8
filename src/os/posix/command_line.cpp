#include "os/command_line.h"

namespace os {

std::vector<std::string> commandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }
void prepareConsole() {}

}  // namespace os
