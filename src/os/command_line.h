#pragma once
// A command-line tool's arguments and output, in UTF-8 on every platform.
#include <string>
#include <vector>

namespace os {

std::vector<std::string> CommandLineArguments(int argc, char** argv);
// Makes a console show UTF-8 output as such.
void PrepareConsole();

}  // namespace os
