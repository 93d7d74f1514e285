#include "jvm/discovery/VersionRules.h"

#include <cstring>

#include "util/TextBuffer.h"

namespace version_rules {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isSeparator(char c)
{
    return c == '.' || c == '_' || c == '-' || c == '+';
}

char lowerChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// One component of a version: a stretch between separators (possibly empty).
struct Component {
    const char* text;
    size_t length;
};

// Walks the components of a version text; the empty text has none, "1." has "1" and "".
class Components {
public:
    explicit Components(const char* text) : next_(text), done_(*text == '\0') {}

    bool next(Component& component)
    {
        if (done_)
            return false;
        const char* end = next_;
        while (*end != '\0' && !isSeparator(*end))
            ++end;
        component = {next_, static_cast<size_t>(end - next_)};
        if (*end == '\0')
            done_ = true;
        else
            next_ = end + 1;
        return true;
    }

private:
    const char* next_;
    bool done_;
};

bool isNumber(const Component& c)
{
    if (c.length == 0)
        return false;
    for (size_t i = 0; i < c.length; ++i) {
        if (!isDigit(c.text[i]))
            return false;
    }
    return true;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// Numbers of any length, without converting them: fewer significant digits is smaller, the
// same count compares digit by digit.
int compareNumbers(Component a, Component b)
{
    while (a.length > 0 && *a.text == '0') {
        ++a.text;
        --a.length;
    }
    while (b.length > 0 && *b.text == '0') {
        ++b.text;
        --b.length;
    }
    if (a.length != b.length)
        return a.length < b.length ? -1 : 1;
    return a.length == 0 ? 0 : sign(std::memcmp(a.text, b.text, a.length));
}

int compareTexts(const Component& a, const Component& b)
{
    const size_t common = a.length < b.length ? a.length : b.length;
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = static_cast<unsigned char>(lowerChar(a.text[i]));
        const unsigned char y = static_cast<unsigned char>(lowerChar(b.text[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.length != b.length)
        return a.length < b.length ? -1 : 1;
    return 0;
}

// An empty component ("1.4.") sorts first, then numbers, then any other text.
int compareComponents(const Component& a, const Component& b)
{
    if (a.length == 0 || b.length == 0)
        return (b.length == 0) - (a.length == 0);
    const bool numberA = isNumber(a);
    const bool numberB = isNumber(b);
    if (numberA && numberB)
        return compareNumbers(a, b);
    if (numberA != numberB)
        return numberA ? -1 : 1;
    return compareTexts(a, b);
}

// The version's leading components, as many as the setting has, against the setting; a version
// with fewer components is compared whole and then sorts first.
int compareToSetting(const char* version, const char* setting)
{
    Components versionParts(version);
    Components settingParts(setting);
    Component wanted;
    while (settingParts.next(wanted)) {
        Component have;
        if (!versionParts.next(have))
            return -1;
        const int order = compareComponents(have, wanted);
        if (order != 0)
            return order;
    }
    return 0;
}

} // namespace

bool verifyVersion(const char* required, const char* minimum, const char* maximum,
                   const char* version)
{
    if (*required != '\0')
        return compareToSetting(version, required) == 0;
    if (compareToSetting(version, minimum) < 0)
        return false;
    return *maximum == '\0' || compareToSetting(version, maximum) <= 0;
}

const char* versionVerdict(const char* required, const char* minimum, const char* maximum,
                           const char* version)
{
    if (verifyVersion(required, minimum, maximum, version))
        return nullptr;
    if (*required != '\0')
        return "not the required version";
    return compareToSetting(version, minimum) < 0 ? "older than jvmMinVersion"
                                                   : "newer than jvmMaxVersion";
}

int compareVersions(const char* first, const char* second)
{
    Components firstParts(first);
    Components secondParts(second);
    for (;;) {
        Component a;
        Component b;
        const bool moreA = firstParts.next(a);
        const bool moreB = secondParts.next(b);
        if (!moreA || !moreB)
            return moreA ? 1 : (moreB ? -1 : 0);
        const int order = compareComponents(a, b);
        if (order != 0)
            return order;
    }
}

bool isComparableVersion(const char* setting)
{
    Components parts(setting);
    Component part;
    bool first = true;
    while (parts.next(part)) {
        if (part.length == 0 || (first && !isNumber(part)))
            return false;
        for (size_t i = 0; i < part.length; ++i) {
            const char c = lowerChar(part.text[i]);
            if (!isDigit(c) && (c < 'a' || c > 'z'))
                return false;
        }
        first = false;
    }
    return !first;
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
    // Only a program directory named "bin" says that its parent is the home: a "bin" further up
    // (C:\tools\bin\jvm\jre1.3) belongs to where the home lies, and "robin" or "binaries" to
    // its own name.
    size_t end = std::strlen(dir);
    if (end > 0 && dir[end - 1] == '\\')
        --end;
    if (end >= 4 && std::strncmp(dir + end - 4, "\\bin", 4) == 0)
        dir[end - 4] = '\0';
}

bool javaFormOfName(char* name, size_t capacity, bool windowed)
{
    if (std::strncmp(name, "jre", 3) != 0)
        return false;
    copyText(name, capacity, windowed ? "javaw.exe" : "java.exe");
    return true;
}

} // namespace version_rules
