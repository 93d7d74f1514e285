// Loading of Windows system DLLs from the system directory only, so that a DLL planted beside
// the program (a downloads folder, the package directory) is never picked up.
#pragma once

#include <windows.h>

#include <string>

// Restricts the process's DLL search to the system directory where Windows offers it and takes
// the current directory out of the search path. Call first thing at program start.
void restrictDllSearch();

// Loads system DLL `name` ("shell32.dll") by its full path in the system directory; null when
// it cannot be loaded or no name is given. The caller frees the module with FreeLibrary.
HMODULE loadSystemDll(const char* name);

// The full path of `name` ("msiexec.exe") in the system directory, the one folder a system
// program is taken from (never PATH, the package or the current directory); empty when the
// system directory cannot be read or the path would not fit.
std::string systemFilePath(const char* name);

// A system DLL loaded as above and freed when the owner goes; cannot be copied.
class SystemDll {
public:
    explicit SystemDll(const char* name) : module_(loadSystemDll(name)) {}
    ~SystemDll()
    {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    SystemDll(const SystemDll&) = delete;
    SystemDll& operator=(const SystemDll&) = delete;

    bool loaded() const { return module_ != nullptr; }
    // The exported function `name` as a pointer of type Fn; null when the DLL or it is missing.
    template <typename Fn>
    Fn function(const char* name) const
    {
        if (module_ == nullptr)
            return nullptr;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};
