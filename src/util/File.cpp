#include "util/File.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <string>

#include "util/LongPath.h"
#include "util/Wide.h"

FILE* openFile(const char* name, const char* mode)
{
    const std::wstring path = longPath(name);
    const std::wstring wideMode = widen(mode);
    if (path.empty() || wideMode.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    return _wfopen(path.c_str(), wideMode.c_str());
}

FILE* File::openSharedAppend(const char* name)
{
    // The C runtime's own opening shares no deletion: a log held open that way could not be
    // deleted, neither by this program's cleanup nor by any other program.
    const std::wstring path = longPath(name);
    if (path.empty())
        return nullptr;
    HANDLE handle = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_APPEND | _O_TEXT);
    if (descriptor == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    FILE* file = _fdopen(descriptor, "at");
    if (file == nullptr)
        _close(descriptor);
    return file;
}
