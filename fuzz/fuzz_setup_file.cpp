// Setup.ini from arbitrary bytes. A file the reader accepts must write back, and what was written
// must read as the same description and write as the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "memory_file_system.h"
#include "setup_data_compare.h"
#include "setupdata/setup_data.h"

namespace {
const std::string kPath = "C:\\medium\\Setup.ini";
const std::string kCopy = "C:\\medium\\Setup2.ini";
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::MemoryFileSystem fs;
    fs.files[kPath].assign(reinterpret_cast<const char*>(data), size);

    setupdata::SetupData first;
    std::string reason;
    if (!first.readSetupFile(fs, kPath, &reason)) {
        if (reason.empty()) fuzzing::Fail("a failed read gives no reason");
        return 0;
    }
    // What the pages ask of a description; sizes and paths must not trip the sanitizers.
    for (setupdata::InstallType t : {0, 1}) {
        (void)first.totalSizeOfType(t);
        (void)first.fileCountOfType(t);
        for (std::size_t i = 0; i <= first.files.size(); ++i) (void)first.EntryRelativePath(t, i);
    }

    if (!first.writeSetupFile(fs, kPath, &reason)) fuzzing::Fail(("write back failed: " + reason).c_str());
    const std::string written = fs.files[kPath];

    setupdata::SetupData second;
    if (!second.readSetupFile(fs, kPath, &reason)) fuzzing::Fail(("reread failed: " + reason).c_str());
    fuzzing::RequireSame(first, second);

    if (!second.writeSetupFile(fs, kCopy, &reason)) fuzzing::Fail(("second write failed: " + reason).c_str());
    if (fs.files[kCopy] != written) fuzzing::Fail("the same description wrote different bytes");
    return 0;
}
