#pragma once
// Folder and file names from the data files end up below the install folder and the data folder;
// these checks keep them there.
#include <string_view>

namespace setupdata {

// A relative folder path: not empty, no root, no drive or stream colon, no "." or ".." part.
bool isSafeFolderName(std::string_view name);
// As a folder name, and a single part: no separator at all.
bool isSafeFileName(std::string_view name);

}  // namespace setupdata
