// The current user's registry off Windows: a store file of keys and their values, rewritten whole
// through a temporary file that is on the disk before it replaces the store, so that no reader
// and no crash ever sees half of it.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "os/posix/durable.h"
#include "os/registry.h"
#include "support/cp932.h"

namespace os {
namespace {

struct Value {
    std::string name;
    ValueType type;
    std::string data;
};
struct Key {
    std::string path;  // no backslash at either end, case as created
    std::vector<Value> values;
};

std::filesystem::path StorePath() {
    if (const char* p = std::getenv("SETUP_REGISTRY")) return p;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/tmp") / ".local/share/setup/registry.txt";
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "x";  // never empty, so every field is a word
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string Unhex(const std::string& text) {
    std::string out;
    for (std::size_t i = 1; i + 1 < text.size(); i += 2)
        out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    return out;
}

std::vector<Key> Load() {
    std::vector<Key> keys;
    std::ifstream in(StorePath());
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string word, a, b;
        unsigned type = 0;
        fields >> word >> a;
        if (word == "key")
            keys.push_back({Unhex(a), {}});
        else if (word == "value" && !keys.empty() && (fields >> type >> b))
            keys.back().values.push_back({Unhex(a), static_cast<ValueType>(type), Unhex(b)});
    }
    return keys;
}

bool Save(const std::vector<Key>& keys) {
    std::filesystem::path path = StorePath();
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::filesystem::path temp = path;
    temp += ".new";
    std::string text;
    for (const Key& k : keys) {
        text += "key " + Hex(k.path) + "\n";
        for (const Value& v : k.values)
            text +=
                "value " + Hex(v.name) + " " + std::to_string(static_cast<unsigned>(v.type)) + " " + Hex(v.data) + "\n";
    }
    if (posix::WriteHostFileDurably(temp.string(), text) && posix::ReplaceHostFile(temp.string(), path.string()))
        return true;
    std::filesystem::remove(temp, ec);
    return false;
}

std::string Normal(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.front() == '\\') p.erase(0, 1);
    while (support::EndsWithBackslash(p)) p.pop_back();
    return p;
}

Key* Find(std::vector<Key>& keys, const std::string& path) {
    for (Key& k : keys)
        if (support::EqualsNoCase(k.path, path)) return &k;
    return nullptr;
}

class PosixRegistry : public Registry {
public:
    bool KeyExists(const std::string& keyPath) override {
        std::string key = Normal(keyPath);
        std::vector<Key> keys = Load();
        return key.empty() || Find(keys, key);
    }

    bool CreateKey(const std::string& keyPath) override {
        std::string key = Normal(keyPath);
        std::vector<Key> keys = Load();
        bool changed = false;
        for (std::size_t at = 0; !key.empty();) {
            std::size_t sep = support::FindChar(key, '\\', at);
            std::string part = key.substr(0, sep);
            if (!part.empty() && !Find(keys, part)) {
                keys.push_back({part, {}});
                changed = true;
            }
            if (sep == support::npos) break;
            at = sep + 1;
        }
        return !changed || Save(keys);
    }

    bool SetValue(const std::string& keyPath, const std::string& name, ValueType type,
                  const std::string& data) override {
        std::vector<Key> keys = Load();
        Key* key = Find(keys, Normal(keyPath));
        if (!key) return false;
        for (Value& v : key->values)
            if (support::EqualsNoCase(v.name, name)) {
                v = {v.name, type, data};
                return Save(keys);
            }
        key->values.push_back({name, type, data});
        return Save(keys);
    }

    bool QueryValue(const std::string& keyPath, const std::string& name, std::size_t bufferSize, ValueType& type,
                    std::string& data) override {
        std::vector<Key> keys = Load();
        Key* key = Find(keys, Normal(keyPath));
        if (!key) return false;
        for (const Value& v : key->values)
            if (support::EqualsNoCase(v.name, name)) {
                if (v.data.size() > bufferSize) return false;
                type = v.type;
                data = v.data;
                return true;
            }
        return false;
    }

    bool DeleteKey(const std::string& keyPath) override {
        const std::string key = Normal(keyPath);
        if (key.empty()) return false;  // the root of the user's keys never goes
        std::vector<Key> keys = Load();
        Key* found = Find(keys, key);
        if (!found) return false;
        for (const Key& k : keys)
            if (k.path.size() > key.size() && k.path[key.size()] == '\\' &&
                support::EqualsNoCase(k.path.substr(0, key.size()), key))
                return false;  // like the system: a key with subkeys stays
        keys.erase(keys.begin() + (found - keys.data()));
        return Save(keys);
    }
};

}  // namespace

Registry& SystemRegistry() {
    static PosixRegistry registry;
    return registry;
}

}  // namespace os
