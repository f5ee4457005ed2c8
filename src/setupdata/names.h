#pragma once
// Names from the data files and the registry end up in paths the setup writes and removes; these
// checks keep every such path inside the folder it belongs to, on every system.
#include <string_view>

namespace setupdata {

// A relative folder path: not empty, no root, no drive or stream colon, no part ending in a dot or
// a blank (so no "." or ".."), no device name, no character Windows refuses in a name, valid
// CP932, parts of at most 255 bytes.
bool IsSafeFolderName(std::string_view name);
// As a folder name, and a single part: no separator at all.
bool IsSafeFileName(std::string_view name);
// A full folder path as the install records it: a drive root ("C:\") or a network share
// ("\\server\share", never "\\?\" or "\\.\") and at least one safe part below it.
bool IsSafeInstallFolder(std::string_view path);

}  // namespace setupdata
