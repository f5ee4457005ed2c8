#include "os/registry.h"
#include "os/win32/scoped_handle.h"
#include "os/win32/wide.h"
#include "os/win32/windows_api.h"

namespace os {
namespace {

// A key under the current user's root; empty when the system refuses it. The handle is taken
// only from a call that succeeded.
win32::ScopedRegistryKey OpenKey(const std::wstring& path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
    return win32::ScopedRegistryKey(key);
}

win32::ScopedRegistryKey CreateKeyForWriting(const std::wstring& path) {
    HKEY key = nullptr;
    const LONG result =
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return {};
    return win32::ScopedRegistryKey(key);
}

// The value's stored bytes and type; the key is closed before the bytes are converted.
bool QueryRaw(const std::wstring& path, const std::wstring& name, DWORD& kind, std::string& raw) {
    const win32::ScopedRegistryKey key = OpenKey(path, KEY_READ);
    if (!key) return false;
    DWORD size = 0;
    bool ok = RegQueryValueExW(key.Get(), name.c_str(), nullptr, &kind, nullptr, &size) == ERROR_SUCCESS;
    raw.assign(size, '\0');
    ok = ok && RegQueryValueExW(key.Get(), name.c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(raw.data()), &size) ==
                   ERROR_SUCCESS;
    raw.resize(size);
    return ok;
}

class Win32Registry : public Registry {
public:
    bool KeyExists(const std::string& keyPath) override {
        std::wstring wide;
        return win32::ToWide(keyPath, wide) && OpenKey(wide, KEY_READ);
    }

    bool CreateKey(const std::string& keyPath) override {
        std::wstring wide;
        return win32::ToWide(keyPath, wide) && CreateKeyForWriting(wide);
    }

    bool SetValue(const std::string& keyPath, const std::string& name, ValueType type,
                  const std::string& data) override {
        std::wstring path, wideName;
        if (!win32::ToWide(keyPath, path) || !win32::ToWide(name, wideName)) return false;
        const win32::ScopedRegistryKey key = OpenKey(path, KEY_WRITE);
        if (!key) return false;
        // Strings go to the system in UTF-16 so they read the same on every code page; a
        // terminating zero goes along exactly when the caller's data has one.
        bool ok = true;
        std::string bytes = data;
        if (type == ValueType::String || type == ValueType::ExpandString) {
            bool terminated = !data.empty() && data.back() == '\0';
            std::wstring wide;
            ok = win32::ToWide(terminated ? data.substr(0, data.size() - 1) : data, wide);
            if (terminated) wide.push_back(L'\0');
            bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
        }
        return ok && RegSetValueExW(key.Get(), wideName.c_str(), 0, static_cast<DWORD>(type),
                                    reinterpret_cast<const BYTE*>(bytes.data()),
                                    static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }

    bool QueryValue(const std::string& keyPath, const std::string& name, std::size_t bufferSize, ValueType& type,
                    std::string& data) override {
        std::wstring path, wideName;
        if (!win32::ToWide(keyPath, path) || !win32::ToWide(name, wideName)) return false;
        std::string raw;
        DWORD kind = 0;
        if (!QueryRaw(path, wideName, kind, raw)) return false;
        if (kind == REG_SZ || kind == REG_EXPAND_SZ) {
            // Back to CP932 bytes; the terminating zero stays exactly when it was stored.
            std::wstring wide(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
            bool terminated = !wide.empty() && wide.back() == L'\0';
            if (terminated) wide.pop_back();
            raw = win32::FromWide(wide);
            if (terminated) raw += '\0';
        }
        if (raw.size() > bufferSize) return false;
        type = static_cast<ValueType>(kind);
        data = raw;
        return true;
    }

    bool DeleteKey(const std::string& keyPath) override {
        std::wstring wide;
        return win32::ToWide(keyPath, wide) && !wide.empty() &&
               RegDeleteKeyW(HKEY_CURRENT_USER, wide.c_str()) == ERROR_SUCCESS;
    }
};

}  // namespace

Registry& SystemRegistry() {
    static Win32Registry registry;
    return registry;
}

}  // namespace os
