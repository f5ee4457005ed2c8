#pragma once
// The setupdata tool's reports: lines a publisher reads, or JSON for scripts.
#include <cstdio>
#include <string>

#include "setupdata/check.h"

namespace tools {

// A UTF-8 text as a JSON string.
std::string JsonUtf8(const std::string& utf8);
// Prints the findings and a summary (verify: the install types too) to `out`.
void PrintReport(std::FILE* out, const setupdata::CheckReport& report);
void PrintReportJson(std::FILE* out, const setupdata::CheckReport& report);

}  // namespace tools
