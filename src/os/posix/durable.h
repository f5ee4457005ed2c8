#pragma once
// Host-side steps that make a rewrite survive a crash; the file system and the registry store
// share them.
#include <string>

namespace os::posix {

// Creates or truncates the host file, writes the bytes and waits until they are on the disk.
bool WriteHostFileDurably(const std::string& hostPath, const std::string& bytes);
// Renames `from` over `to` in one step and syncs the folder, so the new name outlives a crash.
bool ReplaceHostFile(const std::string& from, const std::string& to);

}  // namespace os::posix
