#include "jvm/provision/RegText.h"

#include <memory>

#include "util/TextBuffer.h"

bool queryRegText(HKEY key, const char* name, char* out, size_t capacity)
{
    if (capacity == 0)
        return false;
    out[0] = '\0';
    DWORD type = 0;
    // One byte is kept back so that a value stored without its NUL still ends in one.
    DWORD size = static_cast<DWORD>(capacity - 1);
    const LONG status =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &size);
    if (status == ERROR_MORE_DATA && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        // Too long for the buffer: hand back the cut text, so that callers still see that the
        // value holds something, and report the cut.
        out[0] = '\0';
        DWORD fullSize = size + 1;
        std::unique_ptr<char[]> full(new char[fullSize + 1]);
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(full.get()),
                             &fullSize) == ERROR_SUCCESS) {
            full[fullSize] = '\0';
            copyText(out, capacity, full.get());
        }
        return false;
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        out[0] = '\0';
        return false;
    }
    out[size < capacity ? size : capacity - 1] = '\0';
    return true;
}

bool readRegText(HKEY root, const char* subkey, const char* name, char* out, size_t capacity)
{
    if (capacity > 0)
        out[0] = '\0';
    RegKey key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS) {
        key.forget();
        return false;
    }
    return queryRegText(key.get(), name, out, capacity);
}

bool regValueIsEmpty(HKEY key, const char* name)
{
    DWORD type = 0;
    DWORD size = 0;
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
        return true;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return size == 0;
    std::unique_ptr<char[]> text(new char[size + 2]);
    queryRegText(key, name, text.get(), size + 2);
    return text[0] == '\0';
}
