#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "os/registry.h"
#include "os/win32/wide.h"

namespace os {
namespace {

class Win32Registry : public Registry {
public:
    bool KeyExists(const std::string& keyPath) override {
        std::wstring wide;
        HKEY key;
        if (!win32::toWide(keyPath, wide) || RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    bool CreateKey(const std::string& keyPath) override {
        std::wstring wide;
        HKEY key;
        if (!win32::toWide(keyPath, wide) ||
            RegCreateKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
};

}  // namespace

Registry& systemRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace os
