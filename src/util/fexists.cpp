#include "util/fexists.h"

#include <windows.h>

#include <string>

#include "util/LongPath.h"

bool fexists(const char* path)
{
    if (path == nullptr || *path == '\0')
        return false;
    std::string name(path);
    if (name[0] == '"') {
        name.erase(0, 1);
        const std::string::size_type quote = name.find('"');
        if (quote != std::string::npos)
            name.erase(quote);
    }
    return !name.empty() &&
           GetFileAttributesW(longPath(name.c_str()).c_str()) != INVALID_FILE_ATTRIBUTES;
}
