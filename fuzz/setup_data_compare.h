#pragma once
// Field-by-field comparison of two descriptions; a difference aborts, so libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "setupdata/setup_data.h"

namespace fuzzing {

[[noreturn]] inline void Fail(const char* what) {
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

inline void RequireSame(const setupdata::SetupData& a, const setupdata::SetupData& b) {
    if (a.title != b.title) Fail("title differs");
    if (a.registryRoot != b.registryRoot) Fail("registryRoot differs");
    if (a.directXFolder != b.directXFolder) Fail("directXFolder differs");
    if (a.executable != b.executable) Fail("executable differs");
    if (a.dataFolder != b.dataFolder) Fail("dataFolder differs");
    if (a.saveSlotCount != b.saveSlotCount) Fail("saveSlotCount differs");
    if (a.folders != b.folders) Fail("folder list differs");
    if (a.files.size() != b.files.size()) Fail("file count differs");
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        const setupdata::FileEntry& x = *a.files[i];
        const setupdata::FileEntry& y = *b.files[i];
        if (x.typeMask != y.typeMask || x.name != y.name || x.size != y.size || x.folderIndex != y.folderIndex)
            Fail("a file record differs");
    }
}

}  // namespace fuzzing
