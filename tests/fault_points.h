#pragma once
// The real files, registry and shell with every call counted: the n-th call fails, once or from
// then on, and a hook sees each call that changes something before it is made.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forwarding_file_system.h"
#include "os/services.h"

namespace testing_support {

class FaultPoints {
public:
    enum Mode { Once, FromThenOn };
    // Counts a call; true when it is to fail.
    bool Fails(bool mutating, const char* what) {
        if (!counting) return false;
        ++calls;
        if (recording) names.push_back(what);
        if (mutating && beforeMutation) beforeMutation();
        return calls == triggerAt || (failAt > 0 && (mode == Once ? calls == failAt : calls >= failAt));
    }
    // The number of the first call named so, 0 when there was none.
    int FirstCall(const std::string& what) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == what) return static_cast<int>(i) + 1;
        return 0;
    }
    bool counting = false;
    bool recording = false;
    int calls = 0;
    int triggerAt = 0;  // fails once; 0: none
    int failAt = 0;     // fails as `mode` says; 0: none
    Mode mode = Once;
    std::vector<std::string> names;
    std::function<void()> beforeMutation;
};

class CountedFiles : public ForwardingFileSystem {
public:
    CountedFiles(os::FileSystem& real, FaultPoints& points) : ForwardingFileSystem(real), p_(points) {}
    std::unique_ptr<os::File> Open(const std::string& path, const os::OpenRequest& r) override {
        if (p_.Fails(r.write, "Open")) return nullptr;
        auto file = real_.Open(path, r);
        if (!file) return file;
        struct Counted : os::File {
            Counted(std::unique_ptr<os::File> f, FaultPoints& p) : f_(std::move(f)), p_(p) {}
            bool Read(void* b, std::size_t n, std::size_t& got) override {
                return !p_.Fails(false, "Read") && f_->Read(b, n, got);
            }
            bool Write(const void* b, std::size_t n) override { return !p_.Fails(true, "Write") && f_->Write(b, n); }
            bool Size(std::uint64_t& s) override { return !p_.Fails(false, "Size") && f_->Size(s); }
            // The wait for the disk itself is left out: no check can see it, and the sweeps' hundreds
            // of setups would spend minutes in it. The rewrite tests flush for real.
            bool Flush() override { return !p_.Fails(true, "Flush"); }
            std::unique_ptr<os::File> f_;
            FaultPoints& p_;
        };
        return std::make_unique<Counted>(std::move(file), p_);
    }
    bool SetCurrentFolder(const std::string& p) override {
        return !p_.Fails(false, "SetCurrentFolder") && real_.SetCurrentFolder(p);
    }
    bool CreateFolder(const std::string& p) override {
        return !p_.Fails(true, "CreateFolder") && real_.CreateFolder(p);
    }
    bool RemoveFolder(const std::string& p) override {
        return !p_.Fails(true, "RemoveFolder") && real_.RemoveFolder(p);
    }
    bool RemoveFile(const std::string& p) override { return !p_.Fails(true, "RemoveFile") && real_.RemoveFile(p); }
    bool RenameFile(const std::string& f, const std::string& t, bool replace) override {
        return !p_.Fails(true, "RenameFile") && real_.RenameFile(f, t, replace);
    }
    bool FindFile(const std::string& p, os::FoundFile& f) override {
        return !p_.Fails(false, "FindFile") && real_.FindFile(p, f);
    }
    bool GetAttributes(const std::string& p, std::uint32_t& a) override {
        return !p_.Fails(false, "GetAttributes") && real_.GetAttributes(p, a);
    }
    bool SetAttributes(const std::string& p, std::uint32_t a) override {
        return !p_.Fails(true, "SetAttributes") && real_.SetAttributes(p, a);
    }
    bool SetFileTimes(const std::string& p, const std::uint64_t* c, const std::uint64_t* a,
                      const std::uint64_t* w) override {
        return !p_.Fails(true, "SetFileTimes") && real_.SetFileTimes(p, c, a, w);
    }
    bool FreeBytesAvailable(const std::string& f, std::uint64_t& b, bool& available) override {
        return !p_.Fails(false, "FreeBytesAvailable") && real_.FreeBytesAvailable(f, b, available);
    }

private:
    FaultPoints& p_;
};

class CountedRegistry : public os::Registry {
public:
    CountedRegistry(os::Registry& real, FaultPoints& points) : real_(real), p_(points) {}
    bool KeyExists(const std::string& k) override { return !p_.Fails(false, "KeyExists") && real_.KeyExists(k); }
    bool CreateKey(const std::string& k) override { return !p_.Fails(true, "CreateKey") && real_.CreateKey(k); }
    bool SetValue(const std::string& k, const std::string& n, os::ValueType t, const std::string& d) override {
        return !p_.Fails(true, "SetValue") && real_.SetValue(k, n, t, d);
    }
    bool QueryValue(const std::string& k, const std::string& n, std::size_t b, os::ValueType& t,
                    std::string& d) override {
        return !p_.Fails(false, "QueryValue") && real_.QueryValue(k, n, b, t, d);
    }
    bool DeleteKey(const std::string& k) override { return !p_.Fails(true, "DeleteKey") && real_.DeleteKey(k); }

private:
    os::Registry& real_;
    FaultPoints& p_;
};

class CountedShell : public os::Shell {
public:
    explicit CountedShell(FaultPoints& points) : p_(points) {}
    bool ProgramsFolder(std::string& f) override {
        return !p_.Fails(false, "ProgramsFolder") && os::SystemShell().ProgramsFolder(f);
    }
    bool DesktopFolder(std::string& f) override {
        return !p_.Fails(false, "DesktopFolder") && os::SystemShell().DesktopFolder(f);
    }
    std::string ShortcutExtension() override { return os::SystemShell().ShortcutExtension(); }
    bool WriteShortcut(const std::string& link, const std::string& target, const std::string& working) override {
        return !p_.Fails(true, "WriteShortcut") && os::SystemShell().WriteShortcut(link, target, working);
    }

private:
    FaultPoints& p_;
};

// The three, counted together, as the setup's services.
struct CountedServices {
    FaultPoints points;
    CountedFiles files{os::SystemFileSystem(), points};
    CountedRegistry registry{os::SystemRegistry(), points};
    CountedShell shell{points};
    os::Services services{files, os::SystemBitmapLoader(), registry, os::SystemProcesses(), shell};
};

}  // namespace testing_support
