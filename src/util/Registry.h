// Registry keys in an owner that closes them on every path, and the one reader of string values:
// it checks the type and the size, always ends the text in a NUL and tells a cut from a whole
// value.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Owns one open registry key and closes it when it goes; cannot be copied.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens `root`\`subkey`; false, with nothing held, when it cannot be opened.
    bool open(HKEY root, const char* subkey, REGSAM access)
    {
        if (RegOpenKeyExA(root, subkey, 0, access, receive()) == ERROR_SUCCESS)
            return true;
        forget();
        return false;
    }
    // Opens `root`\`subkey`, creating it when missing; false, with nothing held, on failure.
    bool create(HKEY root, const char* subkey, REGSAM access)
    {
        if (RegCreateKeyExA(root, subkey, 0, nullptr, 0, access, nullptr, receive(), nullptr) ==
            ERROR_SUCCESS)
            return true;
        forget();
        return false;
    }
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

// The value types a read accepts.
enum class RegType {
    Text,       // REG_SZ or REG_EXPAND_SZ
    PlainText,  // REG_SZ only
    Any,        // the type is not examined: whatever bytes the value holds are taken as text
};

// The outcome of a read.
enum class RegRead {
    Missing,  // no such key or value, or a type not accepted: `out` is empty
    Whole,    // the whole value is in `out`
    Cut,      // the value did not fit: `out` holds its beginning
};

// Reads value `name` of an open key into `out` (capacity `capacity`, NUL always written; a value
// stored without its NUL still ends in one).
RegRead readRegText(HKEY key, const char* name, char* out, size_t capacity,
                    RegType accepted = RegType::Text);

// Opens `root`\`subkey` for reading, reads one value as above and closes the key.
RegRead readRegText(HKEY root, const char* subkey, const char* name, char* out, size_t capacity,
                    RegType accepted = RegType::Text);

// True when the value is missing, or holds an empty text, or no data at all. A value of another
// type with data counts as present, so that it is never written over.
bool regValueIsEmpty(HKEY key, const char* name);

// True when both open handles lead to one key (a registry view without a separate copy of it).
bool sameRegKey(HKEY first, HKEY second);

// The registry view flag of the other view, or 0 when the process sees the only one.
REGSAM otherRegistryView();

// The names of the subkeys of an open key in the order the registry gives them, at most `most`
// (names longer than 5000 characters are cut).
std::vector<std::string> regSubkeyNames(HKEY key, size_t most = static_cast<size_t>(-1));
