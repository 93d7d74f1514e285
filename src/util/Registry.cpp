#include "util/Registry.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "util/TextBuffer.h"
#include "util/Utf8.h"

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

// The kernel's full name of an open key, empty when it cannot be had.
std::wstring keyName(HKEY key)
{
    using NtQueryKeyFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr)
        return std::wstring();
    auto query = reinterpret_cast<NtQueryKeyFn>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryKey")));
    if (query == nullptr)
        return std::wstring();
    constexpr int KeyNameInformation = 3;
    std::vector<unsigned char> buffer(4096);
    ULONG size = 0;
    if (query(key, KeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &size) !=
        0)
        return std::wstring();
    ULONG length = 0;
    std::memcpy(&length, buffer.data(), sizeof length);
    length = std::min<ULONG>(length, static_cast<ULONG>(buffer.size() - sizeof length));
    return std::wstring(reinterpret_cast<const wchar_t*>(buffer.data() + sizeof length),
                        length / sizeof(wchar_t));
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
    // The buffer is full: whole when the value brought its own NUL, else one byte is lost
    // (with the start of a character it would split).
    const bool whole = out[capacity - 1] == '\0';
    out[whole ? capacity - 1 : utf8::cutPoint(out, capacity, capacity - 1)] = '\0';
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

bool sameRegKey(HKEY first, HKEY second)
{
    const std::wstring firstName = keyName(first);
    return !firstName.empty() && firstName == keyName(second);
}

REGSAM otherRegistryView()
{
#ifdef _WIN64
    return KEY_WOW64_32KEY;
#else
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    if (isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64)
        return KEY_WOW64_64KEY;
    return 0;
#endif
}

std::vector<std::string> regSubkeyNames(HKEY key, size_t most)
{
    constexpr DWORD NameCapacity = 5001;
    std::vector<std::string> names;
    std::unique_ptr<char[]> name(new char[NameCapacity]);
    for (DWORD index = 0; names.size() < most; ++index) {
        DWORD size = NameCapacity;
        if (RegEnumKeyExA(key, index, name.get(), &size, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        name[std::min<DWORD>(size, NameCapacity - 1)] = '\0';
        names.emplace_back(name.get());
    }
    return names;
}
