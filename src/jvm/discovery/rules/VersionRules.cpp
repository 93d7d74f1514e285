#include "jvm/discovery/VersionRules.h"

#include <cerrno>
#include <cstring>
#include <strings.h>

#include "util/TextBuffer.h"

namespace version_rules {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Copy of `version` cut to the length of `setting` when longer.
void cutTo(TextBuffer& work, const char* version, const char* setting)
{
    work.set(version);
    const size_t length = std::strlen(setting);
    if (std::strlen(work) > length)
        work.data()[length] = '\0';
}

} // namespace

bool verifyVersion(const char* required, const char* minimum, const char* maximum,
                   const char* version)
{
    TextBuffer work(1000);
    if (*required != '\0') {
        cutTo(work, version, required);
        return strcasecmp(work, required) == 0;
    }
    cutTo(work, version, minimum);
    if (strcasecmp(work, minimum) < 0)
        return false;
    if (*maximum == '\0')
        return true;
    cutTo(work, version, maximum);
    return strcasecmp(work, maximum) <= 0;
}

void extractVersion(char* line)
{
    const char* first = line;
    while (*first != '\0' && !isDigit(*first))
        ++first;
    std::memmove(line, first, std::strlen(first) + 1);
    size_t end = std::strlen(line);
    while (end > 0 && !isDigit(line[end - 1]))
        --end;
    line[end] = '\0';
}

bool parseVersion(const char* version, char* family, size_t familySize, char* micro,
                  size_t microSize)
{
    if (version == nullptr)
        version = "";
    bool whole = copyText(family, familySize, version);
    whole = copyText(micro, microSize, "0") && whole;
    const char* firstDot = std::strchr(version, '.');
    const char* lastDot = std::strrchr(version, '.');
    if (firstDot == nullptr || lastDot == firstDot)
        return whole;
    const size_t familyLength = static_cast<size_t>(lastDot - version);
    if (familyLength < familySize)
        family[familyLength] = '\0';
    else
        whole = false;
    return copyText(micro, microSize, lastDot + 1) && whole;
}

void getJavaHomeDirectory(const char* programPath, char* home, size_t homeSize)
{
    copyText(home, homeSize, programPath);
    char* lastSlash = std::strrchr(home, '\\');
    if (lastSlash == nullptr)
        return;
    *lastSlash = '\0';
    cutAtBinComponent(home);
}

void cutAtBinComponent(char* dir)
{
    // The last "bin" that is a whole path component is cut with the backslash before it;
    // "robin" or "binaries" belong to the home's own name.
    for (char* p = dir + std::strlen(dir); p > dir; --p) {
        if (p[-1] == '\\' && std::strncmp(p, "bin", 3) == 0 && (p[3] == '\\' || p[3] == '\0')) {
            p[-1] = '\0';
            return;
        }
    }
}

bool javaFormOfName(char* name, size_t capacity, bool windowed)
{
    if (std::strncmp(name, "jre", 3) != 0)
        return false;
    copyText(name, capacity, windowed ? "javaw.exe" : "java.exe");
    return true;
}

} // namespace version_rules
