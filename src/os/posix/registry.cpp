// The current user's registry off Windows: a store file of key lines, rewritten whole through a
// temporary file and a rename, so that no reader ever sees half of it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "os/registry.h"
#include "support/cp932.h"

namespace os {
namespace {

std::filesystem::path storePath() {
    if (const char* p = std::getenv("SETUP_REGISTRY")) return p;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/tmp") / ".local/share/setup/registry.txt";
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string unhex(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    return out;
}

// Keys in the store: trimmed of backslashes at both ends, case kept as created.
std::vector<std::string> load() {
    std::vector<std::string> keys;
    std::ifstream in(storePath());
    std::string word, value;
    while (in >> word >> value)
        if (word == "key") keys.push_back(unhex(value));
    return keys;
}

bool save(const std::vector<std::string>& keys) {
    std::filesystem::path path = storePath();
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::filesystem::path temp = path;
    temp += ".new";
    {
        std::ofstream out(temp, std::ios::trunc);
        for (const std::string& k : keys) out << "key " << hex(k) << "\n";
        if (!out.flush()) return false;
    }
    std::filesystem::rename(temp, path, ec);
    return !ec;
}

std::string normal(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.front() == '\\') p.erase(0, 1);
    while (support::endsWithBackslash(p)) p.pop_back();
    return p;
}

bool contains(const std::vector<std::string>& keys, const std::string& key) {
    for (const std::string& k : keys)
        if (support::equalsNoCase(k, key)) return true;
    return false;
}

class PosixRegistry : public Registry {
public:
    bool KeyExists(const std::string& keyPath) override {
        std::string key = normal(keyPath);
        return key.empty() || contains(load(), key);
    }

    bool CreateKey(const std::string& keyPath) override {
        std::string key = normal(keyPath);
        if (key.empty()) return true;
        std::vector<std::string> keys = load();
        bool changed = false;
        for (std::size_t at = 0;;) {
            std::size_t sep = support::findChar(key, '\\', at);
            std::string part = key.substr(0, sep);
            if (!part.empty() && !contains(keys, part)) {
                keys.push_back(part);
                changed = true;
            }
            if (sep == support::npos) break;
            at = sep + 1;
        }
        return !changed || save(keys);
    }
};

}  // namespace

Registry& systemRegistry() {
    static PosixRegistry registry;
    return registry;
}

}  // namespace os
