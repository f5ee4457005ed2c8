#include "tools/disc_image.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "support/cp932.h"
#include "support/system_text.h"

namespace tools {
namespace {

constexpr std::size_t kLabelCharacters = 16;  // the 32 bytes of UCS-2 of a Joliet volume descriptor
constexpr std::size_t kLabelBytes = 32;       // what xorriso takes for the primary descriptor
constexpr std::uint64_t kSector = 2048;
constexpr std::uint64_t kLongestDirectory = 64u << 20;

std::string Utf8Of(std::u16string_view text) {
    std::string out;
    return support::ToUtf8(support::FromUtf16(text), out) ? out : std::string();
}
std::size_t Utf8Bytes(std::u16string_view text) { return Utf8Of(text).size(); }

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }
std::uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24; }
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::u16string Ucs2(const unsigned char* p, std::size_t bytes) {
    std::u16string out;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) out += static_cast<char16_t>(p[i] << 8 | p[i + 1]);
    return out;
}

bool ReadAt(os::File& file, std::uint64_t offset, std::size_t n, std::string& out) {
    out.assign(n, '\0');
    std::size_t got = 0;
    return file.Seek(offset) && file.Read(out.data(), n, got) && got == n;
}

// One file of the image, read from its extent.
class ImageFile : public os::File {
public:
    ImageFile(os::File& image, const JolietTree::Entry& entry) : image_(image), entry_(entry) {}
    bool Read(void* buffer, std::size_t n, std::size_t& got) override {
        got = 0;
        if (position_ >= entry_.size) return true;
        n = static_cast<std::size_t>(std::min<std::uint64_t>(n, entry_.size - position_));
        if (!image_.Seek(entry_.offset + position_) || !image_.Read(buffer, n, got)) return false;
        position_ += got;
        return true;
    }
    bool Write(const void*, std::size_t) override { return false; }
    bool Size(std::uint64_t& size) override {
        size = entry_.size;
        return true;
    }

private:
    os::File& image_;
    JolietTree::Entry entry_;
    std::uint64_t position_ = 0;
};

class DiscFiles : public os::FileSystem {
public:
    DiscFiles(std::unique_ptr<os::File> image, JolietTree tree) : image_(std::move(image)), tree_(std::move(tree)) {}

    std::unique_ptr<os::File> Open(const std::string& path, const os::OpenRequest& request) override {
        const JolietTree::Entry* e = find(path);
        if (!e || e->folder || request.write || request.disposition != os::Disposition::OpenExisting) return nullptr;
        return std::make_unique<ImageFile>(*image_, *e);
    }
    bool FindFile(const std::string& path, os::FoundFile& found) override {
        const JolietTree::Entry* e = find(path);
        if (!e) return false;
        found = {};
        found.attributes = e->folder ? os::kAttributeFolder : 0x01;  // a disc's files are read-only
        found.size = e->folder ? 0 : e->size;
        return true;
    }
    bool GetAttributes(const std::string& path, std::uint32_t& attributes) override {
        os::FoundFile found;
        if (!FindFile(path, found)) return false;
        attributes = found.attributes;
        return true;
    }
    os::DriveType DriveTypeOf(const std::string&) override { return os::DriveType::CdRom; }
    std::string CurrentFolder() override { return kDiscRoot; }
    bool SetCurrentFolder(const std::string&) override { return false; }
    bool CreateFolder(const std::string&) override { return false; }
    bool RemoveFolder(const std::string&) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
    bool RenameFile(const std::string&, const std::string&, bool) override { return false; }
    bool SetAttributes(const std::string&, std::uint32_t) override { return false; }
    bool SetFileTimes(const std::string&, const std::uint64_t*, const std::uint64_t*, const std::uint64_t*) override {
        return false;
    }
    bool FreeBytesAvailable(const std::string&, std::uint64_t& freeBytes, bool& available) override {
        freeBytes = 0;
        available = true;
        return true;
    }
    bool ClusterFreeSpace(const std::string&, std::uint64_t&, std::uint64_t&, std::uint64_t&) override { return false; }
    bool ConnectNetworkDrive(const std::string&, const std::string&) override { return false; }
    void DisconnectNetworkDrive(const std::string&) override {}

private:
    // The name as recorded, part by part: a disc that renamed a file does not hold it.
    const JolietTree::Entry* find(const std::string& path) {
        static const JolietTree::Entry root{0, 0, true};
        const std::string prefix = kDiscRoot;
        if (path.compare(0, prefix.size(), prefix) != 0) return nullptr;
        std::u16string joined;
        for (std::size_t start = prefix.size(); start <= path.size();) {
            std::size_t end = support::FindChar(path, '\\', start);
            if (end == support::npos) end = path.size();
            std::u16string part;
            if (end > start) {
                if (!support::ToUtf16(std::string_view(path).substr(start, end - start), part)) return nullptr;
                joined += (joined.empty() ? u"" : u"\\") + part;
            }
            start = end + 1;
        }
        return joined.empty() ? &root : tree_.Find(joined);
    }

    std::unique_ptr<os::File> image_;
    JolietTree tree_;
};

std::string HostFileName(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// What xorriso says went wrong: its FAILURE and SORRY lines, else its last line.
std::string Complaint(const std::string& output) {
    std::string said, last;
    for (std::size_t at = 0; at < output.size();) {
        std::size_t end = std::min(output.find('\n', at), output.size());
        std::string line = support::TrimRight(output.substr(at, end - at), " \r");
        if (!line.empty()) last = line;
        if (line.find(": FAILURE :") != std::string::npos || line.find(": SORRY :") != std::string::npos)
            said += (said.empty() ? "" : "; ") + line;
        at = end + 1;
    }
    return said.empty() ? last : said;
}

}  // namespace

std::string VolumeLabel(const std::string& titleCp932) {
    std::u16string label = support::ToUtf16Lossy(titleCp932);
    for (char16_t& c : label)
        if (!setupdata::IsDiscNameCharacter(c)) c = u'_';
    if (label.size() > kLabelCharacters) label.resize(kLabelCharacters);
    auto cutHere = [&] {
        char16_t last = label.back();
        return Utf8Bytes(label) > kLabelBytes || last == u' ' || (last >= 0xD800 && last < 0xDC00);
    };
    while (!label.empty() && cutHere()) label.pop_back();
    std::string utf8 = Utf8Of(label);
    return utf8.empty() ? "SETUP" : utf8;
}

std::string LabelProblem(const std::string& labelUtf8) {
    std::string cp932;
    std::u16string label;
    if (!support::FromUtf8(labelUtf8, cp932) || !support::ToUtf16(cp932, label)) return "is not UTF-8";
    if (label.empty()) return "is empty";
    if (label.back() == u' ') return "ends in a blank, which a label loses: it is padded with blanks";
    for (char16_t c : label)
        if (!setupdata::IsDiscNameCharacter(c))
            return "holds a character a disc's label cannot hold (* / : ; ? \\ or a control character)";
    if (label.size() > kLabelCharacters)
        return "has " + std::to_string(label.size()) + " characters; a disc's Joliet label holds " +
               std::to_string(kLabelCharacters);
    if (Utf8Bytes(label) > kLabelBytes)
        return "is " + std::to_string(Utf8Bytes(label)) + " bytes in UTF-8; xorriso takes " +
               std::to_string(kLabelBytes) + " (ten Japanese characters)";
    return "";
}

bool JolietTree::Read(os::File& image, std::string& reason) {
    entries_.clear();
    std::string sector;
    std::uint64_t block = 0, rootOffset = 0, rootSize = 0;
    for (std::uint64_t s = 16; block == 0; ++s) {
        if (!ReadAt(image, s * kSector, kSector, sector) || std::memcmp(sector.data() + 1, "CD001", 5) != 0) {
            reason = "no ISO 9660 volume descriptors: not a disc image";
            return false;
        }
        const unsigned char* d = Bytes(sector);
        if (d[0] == 255) {
            reason = "no Joliet tree: Windows shows 8.3 names in upper case; build the image with Joliet (-J)";
            return false;
        }
        // The supplementary descriptor of UCS-2 level 1, 2 or 3.
        if (d[0] != 2 || d[88] != '%' || d[89] != '/' || (d[90] != '@' && d[90] != 'C' && d[90] != 'E')) continue;
        block = Le16(d + 128);
        if (block == 0) {
            reason = "the Joliet volume descriptor is damaged";
            return false;
        }
        rootOffset = Le32(d + 156 + 2) * block;
        rootSize = Le32(d + 156 + 10);
        label_ = Ucs2(d + 40, 32);
        while (!label_.empty() && label_.back() == u' ') label_.pop_back();
    }
    struct Folder {
        std::u16string path;
        std::uint64_t offset, size;
    };
    std::vector<Folder> pending{{u"", rootOffset, rootSize}};
    std::set<std::uint64_t> seen;
    std::string records;
    while (!pending.empty()) {
        Folder folder = std::move(pending.back());
        pending.pop_back();
        // A folder met twice is a loop: the tree is damaged.
        if (!seen.insert(folder.offset).second || folder.size > kLongestDirectory ||
            !ReadAt(image, folder.offset, static_cast<std::size_t>(folder.size), records)) {
            reason = "the Joliet tree cannot be read: the image is damaged or cut short";
            return false;
        }
        for (std::size_t at = 0; at < records.size();) {
            const unsigned char* r = Bytes(records) + at;
            const std::size_t length = r[0];
            if (length == 0) {  // records never straddle a block: the rest of this one is padding
                at = (at / block + 1) * block;
                continue;
            }
            if (length < 34 || at + length > records.size() || 33u + r[32] > length) {
                reason = "a record of the Joliet tree is damaged";
                return false;
            }
            const std::size_t idLength = r[32];
            at += length;
            if (idLength == 1 && (r[33] == 0 || r[33] == 1)) continue;  // the folder itself and its parent
            Entry e{std::uint64_t(Le32(r + 2)) * block, Le32(r + 10), (r[25] & 0x02) != 0};
            std::u16string name = Ucs2(r + 33, idLength);
            std::size_t version = name.rfind(u';');
            if (!e.folder && version != std::u16string::npos) name.resize(version);
            const std::u16string path = folder.path.empty() ? name : folder.path + u'\\' + name;
            if (e.folder) pending.push_back({path, e.offset, e.size});
            entries_[path] = e;
        }
    }
    return true;
}

const JolietTree::Entry* JolietTree::Find(const std::u16string& path) const {
    auto it = entries_.find(path);
    return it == entries_.end() ? nullptr : &it->second;
}

std::unique_ptr<os::FileSystem> DiscFileSystem(std::unique_ptr<os::File> image, JolietTree tree) {
    return std::make_unique<DiscFiles>(std::move(image), std::move(tree));
}

setupdata::CheckReport BuildAndVerifyImage(os::FileSystem& fs, const ImageRequest& request, const std::string& title,
                                           const ProgramRunner& run) {
    using setupdata::Severity;
    setupdata::CheckReport report;
    report.file = HostFileName(request.image);
    const std::string label = request.label.empty() ? VolumeLabel(title) : request.label;
    // -f: a linked file goes onto the disc as the file, since Joliet has no links and would drop it.
    const os::ProgramRun ran =
        run({"xorriso", "-as", "mkisofs", "-input-charset", "UTF-8", "-J", request.rockRidge ? "-r" : "--norock", "-f",
             "-V", label, "-o", request.image, request.medium});
    switch (ran.outcome) {
        case os::ProgramRun::Outcome::Finished: break;
        case os::ProgramRun::Outcome::NotFound:
            report.add(Severity::Error, 0, "xorriso",
                       "not found: the image is built with xorriso; install its package xorriso (on Debian and "
                       "Ubuntu: apt-get install xorriso)");
            return report;
        case os::ProgramRun::Outcome::Unsupported:
            report.add(Severity::Error, 0, "xorriso",
                       "this build of setupdata cannot run xorriso: build the image with setupdata on Linux "
                       "(package xorriso)");
            return report;
        case os::ProgramRun::Outcome::Failed:
            report.add(Severity::Error, 0, "xorriso", "could not be started");
            return report;
    }
    if (ran.exitCode != 0) {
        report.add(Severity::Error, 0, "xorriso",
                   "failed with exit status " + std::to_string(ran.exitCode) + ": " + Complaint(ran.output));
        return report;
    }
    os::OpenRequest read;
    read.read = true;
    read.shareRead = true;
    std::unique_ptr<os::File> image = fs.Open(os::SetupPathFromHost(request.image), read);
    JolietTree tree;
    std::string reason;
    if (!image || !tree.Read(*image, reason)) {
        report.add(Severity::Error, 0, "", image ? reason : "cannot be opened after xorriso wrote it");
        return report;
    }
    const std::string recorded = Utf8Of(tree.Label());
    auto disc = DiscFileSystem(std::move(image), std::move(tree));
    setupdata::CheckReport verified = setupdata::VerifySetupFile(*disc, kDiscRoot);
    report.findings = std::move(verified.findings);
    report.types = std::move(verified.types);
    os::FoundFile found;
    if (!disc->FindFile(std::string(kDiscRoot) + "Setup.exe", found))
        report.add(Severity::Error, 0, "Setup.exe", "not on the disc: players have nothing to start");
    if (recorded != label)
        report.add(Severity::Warning, 0, "label", "the disc's label is \"" + recorded + "\", not \"" + label + "\"");
    return report;
}

}  // namespace tools
