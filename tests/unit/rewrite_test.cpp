// A rewrite of an existing file (the game's profile, Setup.ini) leaves its old bytes or its new
// ones, never neither: the disk fills at every byte offset of the write, and a profile that cannot
// be read is left alone.
#include <gtest/gtest.h>

#include "forwarding_file_system.h"
#include "os/profile.h"
#include "setupdata/setup_data.h"
#include "support/cp932_literal.h"
#include "test_support.h"

namespace {

using testing_support::TempFolder;

// The real file system on a disk with `room` bytes left: a write takes what fits and fails.
class FillingDisk : public testing_support::ForwardingFileSystem {
public:
    FillingDisk(os::FileSystem& real, std::size_t room) : ForwardingFileSystem(real), room_(room) {}
    std::unique_ptr<os::File> Open(const std::string& p, const os::OpenRequest& r) override {
        auto file = real_.Open(p, r);
        if (!file || !r.write) return file;
        struct Filling : os::File {
            Filling(std::unique_ptr<os::File> f, std::size_t& room) : f_(std::move(f)), room_(room) {}
            bool Read(void* b, std::size_t n, std::size_t& got) override { return f_->Read(b, n, got); }
            bool Write(const void* b, std::size_t n) override {
                const std::size_t fits = std::min(n, room_);
                room_ -= fits;
                return f_->Write(b, fits) && fits == n;
            }
            bool Size(std::uint64_t& s) override { return f_->Size(s); }
            bool Flush() override { return f_->Flush(); }
            std::unique_ptr<os::File> f_;
            std::size_t& room_;
        };
        return std::make_unique<Filling>(std::move(file), room_);
    }

private:
    std::size_t room_;
};

// Rewrites the file once for every amount of room from none to enough; each time the file holds
// the old bytes or the new ones and nothing is left beside it. Returns the offsets swept.
std::size_t SweepFullDisk(TempFolder& tmp, const std::string& name, const std::string& old,
                          const std::function<bool(os::FileSystem&, const std::string&)>& rewrite) {
    std::string fresh;
    tmp.write(name, old);
    EXPECT_TRUE(rewrite(os::SystemFileSystem(), tmp.path(name)));
    fresh = tmp.read(name);
    EXPECT_NE(fresh, old);
    for (std::size_t room = 0; room <= fresh.size(); ++room) {
        tmp.write(name, old);
        FillingDisk disk(os::SystemFileSystem(), room);
        const bool ok = rewrite(disk, tmp.path(name));
        const std::string now = tmp.read(name);
        EXPECT_TRUE(now == (ok ? fresh : old)) << name << " with " << room << " bytes of room: " << now;
        EXPECT_EQ(ok, room == fresh.size()) << room;
        EXPECT_FALSE(tmp.exists(name + ".setup-new")) << room;
    }
    return fresh.size() + 1;
}

TEST(Rewrite, AFullDiskAtEveryOffsetLeavesTheOldBytesOrTheNew) {
    TempFolder tmp;
    const std::string profile = "; the player's\r\n[Config]\r\nVolume=7\r\nName=" + std::string(SJ("星")) +
                                "\r\n[PATH]\r\nSetupType=0\r\nCurrent=C:\\Old\\\r\n";
    std::size_t offsets = SweepFullDisk(tmp, "Game.ini", profile, [](os::FileSystem& fs, const std::string& path) {
        return os::WriteProfileText(fs, path, "PATH", "Current", "C:\\Games\\New\\");
    });

    setupdata::SetupData d;
    d.title = SJ("星降る丘の物語");
    d.registryRoot = "Software\\Maker\\";
    d.executable = "Game.exe";
    d.saveSlotCount = 20;
    d.folders = {"Data", "Voice"};
    for (int i = 0; i < 40; ++i)
        d.files.push_back(std::make_shared<setupdata::FileEntry>(
            setupdata::FileEntry{i % 2 ? 2 : -1, "file" + std::to_string(i) + ".pak", 1000u * i, i % 3 - 1}));
    TempFolder medium;
    ASSERT_TRUE(d.writeSetupFile(os::SystemFileSystem(), medium.path("Setup.ini")));
    const std::string good = medium.read("Setup.ini");
    d.files.pop_back();
    offsets += SweepFullDisk(medium, "Setup.ini", good,
                             [&](os::FileSystem& fs, const std::string& path) { return d.writeSetupFile(fs, path); });
    std::printf("full-disk offsets swept: %zu\n", offsets);
    EXPECT_GT(offsets, 1000u);
}

TEST(Rewrite, AProfileThatCannotBeReadIsLeftAlone) {
    TempFolder tmp;
    auto& fs = os::SystemFileSystem();
    tmp.write("Game.ini", "[Config]\r\nVolume=7\r\n");
    {
        // Another program holds it without sharing: the system answers that it cannot be opened.
        auto held = fs.Open(tmp.path("Game.ini"),
                            os::OpenRequest{true, true, false, false, os::Disposition::OpenExisting, true});
        ASSERT_TRUE(held);
        EXPECT_FALSE(os::WriteProfileText(fs, tmp.path("Game.ini"), "PATH", "SetupType", "0"));
    }
    EXPECT_EQ(tmp.read("Game.ini"), "[Config]\r\nVolume=7\r\n");
    EXPECT_FALSE(tmp.exists("Game.ini.setup-new"));
    EXPECT_TRUE(os::WriteProfileText(fs, tmp.path("Game.ini"), "PATH", "SetupType", "0"));
    EXPECT_EQ(tmp.read("Game.ini"), "[Config]\r\nVolume=7\r\n[PATH]\r\nSetupType=0\r\n");
}

}  // namespace
