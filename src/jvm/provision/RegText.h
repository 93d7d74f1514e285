// Registry string reads that cannot overrun, and an owner that closes a key on every path.
#pragma once

#include <windows.h>

#include <cstddef>

// Owns one open registry key and closes it when it goes; cannot be copied.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    HKEY get() const { return key_; }
    bool isOpen() const { return key_ != nullptr; }
    // The out argument for a call that opens a key; closes what was held before.
    HKEY* receive()
    {
        close();
        return &key_;
    }
    // After a failed open: the out argument holds nothing that must be closed.
    void forget() { key_ = nullptr; }
    void close()
    {
        if (key_ != nullptr)
            RegCloseKey(key_);
        key_ = nullptr;
    }

private:
    HKEY key_ = nullptr;
};

// Reads the string value `name` of an open key into `out` (capacity `capacity`), always
// NUL-terminated. Returns false, with `out` empty, when the value is missing or not a string,
// and false with the text cut when it does not fit.
bool queryRegText(HKEY key, const char* name, char* out, size_t capacity);

// Opens `root`\`subkey` for reading and reads one string value as above; the key is closed.
bool readRegText(HKEY root, const char* subkey, const char* name, char* out, size_t capacity);

// True when the value is missing, or holds an empty text, or no data at all. A value of another
// type with data counts as present, so that it is never written over.
bool regValueIsEmpty(HKEY key, const char* name);
