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

    bool SetValue(const std::string& keyPath, const std::string& name, ValueType type, const std::string& data) override {
        std::wstring path, wideName;
        HKEY key;
        if (!win32::toWide(keyPath, path) || !win32::toWide(name, wideName) ||
            RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            return false;
        // Strings go to the system in UTF-16 so they read the same on every code page; a
        // terminating zero goes along exactly when the caller's data has one.
        bool ok = true;
        std::string bytes = data;
        if (type == ValueType::String || type == ValueType::ExpandString) {
            bool terminated = !data.empty() && data.back() == '\0';
            std::wstring wide;
            ok = win32::toWide(terminated ? data.substr(0, data.size() - 1) : data, wide);
            if (terminated) wide.push_back(L'\0');
            bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
        }
        ok = ok && RegSetValueExW(key, wideName.c_str(), 0, static_cast<DWORD>(type),
                                  reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    }

    bool QueryValue(const std::string& keyPath, const std::string& name, std::size_t bufferSize, ValueType& type,
                    std::string& data) override {
        std::wstring path, wideName;
        HKEY key;
        if (!win32::toWide(keyPath, path) || !win32::toWide(name, wideName) ||
            RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        DWORD kind = 0, size = 0;
        bool ok = RegQueryValueExW(key, wideName.c_str(), nullptr, &kind, nullptr, &size) == ERROR_SUCCESS;
        std::string raw(size, '\0');
        ok = ok && RegQueryValueExW(key, wideName.c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(raw.data()), &size) == ERROR_SUCCESS;
        RegCloseKey(key);
        if (!ok) return false;
        raw.resize(size);
        if (kind == REG_SZ || kind == REG_EXPAND_SZ) {
            // Back to CP932 bytes; the terminating zero stays exactly when it was stored.
            std::wstring wide(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
            bool terminated = !wide.empty() && wide.back() == L'\0';
            if (terminated) wide.pop_back();
            raw = win32::fromWide(wide);
            if (terminated) raw += '\0';
        }
        if (raw.size() > bufferSize) return false;
        type = static_cast<ValueType>(kind);
        data = raw;
        return true;
    }

    bool DeleteKey(const std::string& keyPath) override {
        std::wstring wide;
        return win32::toWide(keyPath, wide) && !wide.empty() && RegDeleteKeyW(HKEY_CURRENT_USER, wide.c_str()) == ERROR_SUCCESS;
    }
};

}  // namespace

Registry& systemRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace os
