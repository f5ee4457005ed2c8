#pragma once
// A disc image of a medium, made with xorriso and read back from its Joliet tree: the names and
// sizes a Windows player's drive shows, not the Rock Ridge names a Linux mount shows.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "os/command_line.h"
#include "os/file_system.h"
#include "setupdata/check.h"

namespace tools {

// The label a disc can hold, in UTF-8, from the title (CP932): Joliet keeps 16 characters and
// xorriso takes 32 bytes of UTF-8; characters a Joliet name cannot hold become "_".
std::string VolumeLabel(const std::string& titleCp932);
// "" when the publisher's own label (UTF-8) fits, else what is wrong.
std::string LabelProblem(const std::string& labelUtf8);

// The files and folders of an image's Joliet tree by their path below the root, parts joined by
// a backslash, exactly as recorded (without the ";1" version).
class JolietTree {
public:
    struct Entry {
        std::uint64_t offset = 0, size = 0;
        bool folder = false;
    };
    // False, with the reason, when the image has no Joliet tree or it cannot be read.
    bool Read(os::File& image, std::string& reason);
    const Entry* Find(const std::u16string& path) const;
    const std::u16string& Label() const { return label_; }

private:
    std::map<std::u16string, Entry> entries_;
    std::u16string label_;
};

// The image seen as a player's CD-ROM drive: its root is kDiscRoot, every name is looked up
// exactly as recorded, and nothing can be written.
constexpr const char* kDiscRoot = "D:\\";
std::unique_ptr<os::FileSystem> DiscFileSystem(std::unique_ptr<os::File> image, JolietTree tree);

struct ImageRequest {
    std::string medium;     // the medium as the host spells it, absolute
    std::string image;      // the image to write, the same
    std::string label;      // UTF-8; "" for the title's
    bool rockRidge = true;  // false: Joliet alone, so that a Linux mount shows what Windows shows
};

using ProgramRunner = std::function<os::ProgramRun(const std::vector<std::string>&)>;

// Builds the image of a medium that passed its checks (`source`: the medium in the setup's path
// form, `title` its title) and verifies it from its Joliet tree as verify walks a medium. The
// report is the image's: xorriso's failure, or what the disc lacks.
setupdata::CheckReport BuildAndVerifyImage(os::FileSystem& fs, const ImageRequest& request, const std::string& title,
                                           const ProgramRunner& run);

}  // namespace tools
