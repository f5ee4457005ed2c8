#pragma once
// The real file system, call for call; fault-injecting tests override what they need.
#include <memory>
#include <string>
#include <vector>

#include "os/file_system.h"
#include "os/registry.h"

namespace testing_support {

class ForwardingFileSystem : public os::FileSystem {
public:
    explicit ForwardingFileSystem(os::FileSystem& real) : real_(real) {}
    std::unique_ptr<os::File> Open(const std::string& p, const os::OpenRequest& r) override { return real_.Open(p, r); }
    std::string CurrentFolder() override { return real_.CurrentFolder(); }
    bool SetCurrentFolder(const std::string& p) override { return real_.SetCurrentFolder(p); }
    bool CreateFolder(const std::string& p) override { return real_.CreateFolder(p); }
    bool RemoveFolder(const std::string& p) override { return real_.RemoveFolder(p); }
    bool RemoveFile(const std::string& p) override { return real_.RemoveFile(p); }
    bool RenameFile(const std::string& f, const std::string& t, bool replace) override {
        return real_.RenameFile(f, t, replace);
    }
    os::DriveType DriveTypeOf(const std::string& root) override { return real_.DriveTypeOf(root); }
    bool FindFile(const std::string& p, os::FoundFile& f) override { return real_.FindFile(p, f); }
    bool GetAttributes(const std::string& p, std::uint32_t& a) override { return real_.GetAttributes(p, a); }
    bool SetAttributes(const std::string& p, std::uint32_t a) override { return real_.SetAttributes(p, a); }
    bool SetFileTimes(const std::string& p, const std::uint64_t* c, const std::uint64_t* a,
                      const std::uint64_t* w) override {
        return real_.SetFileTimes(p, c, a, w);
    }
    bool FreeBytesAvailable(const std::string& f, std::uint64_t& b, bool& available) override {
        return real_.FreeBytesAvailable(f, b, available);
    }
    bool ClusterFreeSpace(const std::string& r, std::uint64_t& s, std::uint64_t& b, std::uint64_t& c) override {
        return real_.ClusterFreeSpace(r, s, b, c);
    }
    bool ConnectNetworkDrive(const std::string& l, const std::string& r) override {
        return real_.ConnectNetworkDrive(l, r);
    }
    void DisconnectNetworkDrive(const std::string& l) override { real_.DisconnectNetworkDrive(l); }

protected:
    os::FileSystem& real_;
};

// The real file system, with writes failing from the n-th file opened for writing on.
class FailingWrites : public ForwardingFileSystem {
public:
    FailingWrites(os::FileSystem& real, int failFrom) : ForwardingFileSystem(real), failFrom_(failFrom) {}
    std::unique_ptr<os::File> Open(const std::string& p, const os::OpenRequest& r) override {
        auto file = real_.Open(p, r);
        if (!file || !r.write || r.read || ++opened_ < failFrom_) return file;
        struct Broken : os::File {
            explicit Broken(std::unique_ptr<os::File> f) : f_(std::move(f)) {}
            bool Read(void* b, std::size_t n, std::size_t& got) override { return f_->Read(b, n, got); }
            bool Write(const void*, std::size_t) override { return false; }
            bool Size(std::uint64_t& s) override { return f_->Size(s); }
            bool Flush() override { return f_->Flush(); }
            std::unique_ptr<os::File> f_;
        };
        return std::make_unique<Broken>(std::move(file));
    }

private:
    int failFrom_;
    int opened_ = 0;
};

// Every removal asked of the file system, in order: "file " or "folder " and the path.
class RecordingRemovals : public ForwardingFileSystem {
public:
    using ForwardingFileSystem::ForwardingFileSystem;
    bool RemoveFolder(const std::string& p) override {
        removals.push_back("folder " + p);
        return real_.RemoveFolder(p);
    }
    bool RemoveFile(const std::string& p) override {
        removals.push_back("file " + p);
        return real_.RemoveFile(p);
    }
    std::vector<std::string> removals;
};

// The real registry, with every key deletion noted.
class RecordingRegistry : public os::Registry {
public:
    explicit RecordingRegistry(os::Registry& real) : real_(real) {}
    bool KeyExists(const std::string& k) override { return real_.KeyExists(k); }
    bool CreateKey(const std::string& k) override { return real_.CreateKey(k); }
    bool SetValue(const std::string& k, const std::string& n, os::ValueType t, const std::string& d) override {
        return real_.SetValue(k, n, t, d);
    }
    bool QueryValue(const std::string& k, const std::string& n, std::size_t b, os::ValueType& t,
                    std::string& d) override {
        return real_.QueryValue(k, n, b, t, d);
    }
    bool DeleteKey(const std::string& k) override {
        deleted.push_back(k);
        return real_.DeleteKey(k);
    }
    std::vector<std::string> deleted;

private:
    os::Registry& real_;
};

}  // namespace testing_support
