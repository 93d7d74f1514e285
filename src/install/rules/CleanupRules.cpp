#include "install/CleanupRules.h"

#include <cstring>

#include "util/AsciiCase.h"

namespace {

void trimTrailing(std::string& text, size_t keep)
{
    while (text.size() > keep &&
           (text.back() == ' ' || text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
}

} // namespace

bool manifestName(const std::string& line, std::string& name)
{
    static const char prefix[] = "Name: ";
    if (line.compare(0, sizeof prefix - 1, prefix) != 0)
        return false;
    name = line.substr(sizeof prefix - 1);
    trimTrailing(name, 0);
    return !name.empty();
}

std::string normalisePropertiesLine(const std::string& line)
{
    std::string result;
    for (char c : line) {
        if (c == '\\' || c == '\n' || c == '\r')
            continue;
        result += c == '/' ? '\\' : c;
    }
    return result;
}

bool propertyValue(const std::string& line, const char* key, std::string& value)
{
    const size_t length = std::strlen(key);
    if (line.compare(0, length, key) != 0)
        return false;
    value = line.size() > length + 1 ? line.substr(length + 1) : std::string();
    return true;
}

std::string startDirFromLine(const std::string& line)
{
    std::string dir = line.substr(0, 4999);
    const size_t end = dir.find_first_of("\r\n");
    if (end != std::string::npos && end > 0)
        dir.erase(end);
    trimTrailing(dir, 1);
    return dir;
}

bool isStrictlyInside(const std::string& path, const std::string& dir)
{
    std::string base = dir;
    while (!base.empty() && (base.back() == '\\' || base.back() == '/'))
        base.pop_back();
    if (base.empty() || path.size() <= base.size() + 1)
        return false;
    for (size_t i = 0; i < base.size(); ++i) {
        if (lowerAsciiChar(path[i]) != lowerAsciiChar(base[i]))
            return false;
    }
    return path[base.size()] == '\\' || path[base.size()] == '/';
}
