// SetupRegist.ini from arbitrary bytes. Input: the authoring file, then optionally the marker
// FF FF and one byte that decides which listed files open and how large they are.
// A registration that succeeds must carry the sizes the files reported, and its description must
// survive Setup.ini: the setup writes it there and a later start reads it back. The publisher's
// check reads the same file and never passes what registration refuses.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "memory_file_system.h"
#include "setup_data_compare.h"
#include "setupdata/check.h"
#include "setupdata/registration.h"
#include "setupdata/setup_data.h"

namespace {

const std::string kSource = "C:\\medium\\SetupRegist.ini";
const std::string kTarget = "C:\\medium\\Setup.ini";

std::uint32_t HashOf(const std::string& s, std::uint32_t seed) {
    std::uint32_t h = 2166136261u ^ seed;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

// Setup.ini keeps a string up to its first NUL.
std::string UpToNul(const std::string& s) { return s.substr(0, s.find('\0')); }

setupdata::SetupData AsStored(const setupdata::SetupData& d) {
    setupdata::SetupData out;
    out.title = UpToNul(d.title);
    out.registryRoot = UpToNul(d.registryRoot);
    out.directXFolder = UpToNul(d.directXFolder);
    out.executable = UpToNul(d.executable);
    out.dataFolder = UpToNul(d.dataFolder);
    out.saveSlotCount = d.saveSlotCount;
    for (const std::string& f : d.folders) out.folders.push_back(UpToNul(f));
    for (const auto& e : d.files) {
        auto copy = std::make_shared<setupdata::FileEntry>(*e);
        copy->name = UpToNul(copy->name);
        out.files.push_back(std::move(copy));
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> parts = fuzzing::SplitInput(data, size, 2);
    const unsigned policy = parts.size() > 1 && !parts[1].empty() ? static_cast<unsigned char>(parts[1][0]) : 0;

    fuzzing::MemoryFileSystem fs;
    fs.files[kSource] = std::move(parts[0]);
    // Bits 0-1: every file opens, none does, or a choice by path; bit 7: sizes beyond 4 GiB.
    std::vector<std::pair<std::string, std::uint64_t>> served;
    fs.unknownPath = [&](const std::string& path) -> std::optional<std::uint64_t> {
        std::uint32_t h = HashOf(path, policy);
        switch (policy & 3) {
            case 1: return std::nullopt;
            case 2:
            case 3:
                if (h & 1) return std::nullopt;
                break;
        }
        std::uint64_t bytes = policy & 0x80 ? static_cast<std::uint64_t>(h) << 12 : h % 4096;
        served.emplace_back(path, bytes);
        return bytes;
    };

    fs.SetCurrentFolder("C:\\medium");
    const setupdata::CheckReport checked = setupdata::CheckAuthoringFile(fs, "C:\\medium\\");
    served.clear();

    setupdata::SetupData registered;
    setupdata::RegistrationError error;
    if (!registered.registerFromSource(fs, kSource, &error)) {
        if (checked.count(setupdata::Severity::Error) == 0) fuzzing::Fail("check passed what registration refuses");
        return 0;
    }

    // Each listed file opens once, in order, so the records line up with what was served.
    if (served.size() == registered.files.size()) {
        for (std::size_t i = 0; i < served.size(); ++i)
            if (registered.files[i]->size != served[i].second) fuzzing::Fail("a record lost its file's size");
    }
    for (std::size_t i = 0; i < registered.folders.size(); ++i)
        for (std::size_t j = i + 1; j < registered.folders.size(); ++j)
            if (registered.folders[i] == registered.folders[j]) fuzzing::Fail("a folder is listed twice");

    std::string reason;
    if (!registered.writeSetupFile(fs, kTarget, &reason)) fuzzing::Fail(("Setup.ini not written: " + reason).c_str());
    setupdata::SetupData reread;
    if (!reread.readSetupFile(fs, kTarget, &reason)) fuzzing::Fail(("Setup.ini not read back: " + reason).c_str());
    fuzzing::RequireSame(AsStored(registered), reread);
    return 0;
}
