#pragma once
// Every text the setup can show for a given description: its dialog tables, the texts of the
// catalog, and the description's own names (title, folders, files) that pages and boxes repeat.
#include <string>
#include <vector>

#include "setupdata/setup_data.h"

namespace pages {

// CP932 texts, as shown; formats still hold their "%s".
std::vector<std::string> ShownTexts(const setupdata::SetupData& data);

}  // namespace pages
