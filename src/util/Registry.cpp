#include "util/Registry.h"

#include <memory>

#include "util/TextBuffer.h"

namespace {
bool accepts(RegType accepted, DWORD type)
{
    switch (accepted) {
    case RegType::Text:
        return type == REG_SZ || type == REG_EXPAND_SZ;
    case RegType::PlainText:
        return type == REG_SZ;
    case RegType::Any:
        return true;
    }
    return false;
}
} // namespace

RegRead readRegText(HKEY key, const char* name, char* out, size_t capacity, RegType accepted)
{
    if (capacity == 0)
        return RegRead::Missing;
    out[0] = '\0';
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    const LONG status =
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &size);
    if (status == ERROR_MORE_DATA && accepts(accepted, type)) {
        // Too long for the buffer: hand back the beginning, so that callers still see that the
        // value holds something, and report the cut.
        out[0] = '\0';
        DWORD fullSize = size;
        std::unique_ptr<char[]> full(new char[fullSize + 1]);
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(full.get()),
                             &fullSize) == ERROR_SUCCESS) {
            full[fullSize < size ? fullSize : size] = '\0';
            copyText(out, capacity, full.get());
        }
        return RegRead::Cut;
    }
    if (status != ERROR_SUCCESS || !accepts(accepted, type)) {
        out[0] = '\0';
        return RegRead::Missing;
    }
    if (size < capacity) {
        out[size] = '\0';
        return RegRead::Whole;
    }
    // The buffer is full: whole when the value brought its own NUL, else one byte is lost.
    const bool whole = out[capacity - 1] == '\0';
    out[capacity - 1] = '\0';
    return whole ? RegRead::Whole : RegRead::Cut;
}

RegRead readRegText(HKEY root, const char* subkey, const char* name, char* out, size_t capacity,
                    RegType accepted)
{
    if (capacity > 0)
        out[0] = '\0';
    RegKey key;
    if (!key.open(root, subkey, KEY_QUERY_VALUE))
        return RegRead::Missing;
    return readRegText(key.get(), name, out, capacity, accepted);
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
    readRegText(key, name, text.get(), size + 2);
    return text[0] == '\0';
}
