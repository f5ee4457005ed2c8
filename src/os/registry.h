#pragma once
// The current user's registry. Key paths are CP932 and compare without regard to ASCII case.
#include <cstddef>
#include <string>

namespace os {

// Value types, with their Win32 numbers.
enum class ValueType : unsigned { None = 0, String = 1, ExpandString = 2, Binary = 3, Dword = 4 };

class Registry {
public:
    virtual ~Registry() = default;
    // Whether the key exists and opens for reading.
    virtual bool KeyExists(const std::string& keyPath) = 0;
    // Creates the key and its parents; true when it exists afterwards.
    virtual bool CreateKey(const std::string& keyPath) = 0;
    // Sets a value's raw bytes (a string's data carries its terminating zero); the key must exist.
    virtual bool SetValue(const std::string& keyPath, const std::string& name, ValueType type,
                          const std::string& data) = 0;
    // A value's type and raw bytes; false when the key or value is missing or the data is longer
    // than `bufferSize`.
    virtual bool QueryValue(const std::string& keyPath, const std::string& name, std::size_t bufferSize,
                            ValueType& type, std::string& data) = 0;
    // Deletes a key that has no subkeys, with its values; false when it is missing or has subkeys.
    virtual bool DeleteKey(const std::string& keyPath) = 0;
};

Registry& SystemRegistry();

}  // namespace os
