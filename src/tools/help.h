#pragma once
// The setupdata tool's usage and help texts.
#include <cstdio>
#include <string>

namespace tools {

void Usage(std::FILE* out);
// The overview for "", one command's help otherwise; 0, or 2 for an unknown command.
int Help(std::FILE* out, const std::string& command);

}  // namespace tools
