#include "util/SystemDll.h"

#include "util/TextBuffer.h"

namespace {
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryAFn = BOOL(WINAPI*)(LPCSTR);
constexpr DWORD SearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// Looks up a kernel32 function that older Windows versions lack.
template <typename Fn>
Fn kernelFunction(const char* name)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}
} // namespace

void restrictDllSearch()
{
    if (auto setDefault = kernelFunction<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories"))
        setDefault(SearchSystem32);
    if (auto setDirectory = kernelFunction<SetDllDirectoryAFn>("SetDllDirectoryA"))
        setDirectory("");
}

std::string systemFilePath(const char* name)
{
    if (name == nullptr || *name == '\0')
        return std::string();
    char path[MAX_PATH + 1];
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    if (!appendText(path, sizeof path, "\\") || !appendText(path, sizeof path, name))
        return std::string();
    return path;
}

HMODULE loadSystemDll(const char* name)
{
    const std::string path = systemFilePath(name);
    if (path.empty())
        return nullptr;
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
