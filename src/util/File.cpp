#include "util/File.h"

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
