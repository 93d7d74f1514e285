#include "jvm/discovery/JvmSourceRules.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "jvm/discovery/VersionRules.h"
#include "util/AsciiCase.h"

namespace source_rules {

namespace {

constexpr const char* Digits = "0123456789";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string trimBlanks(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> splitAt(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

// A component of at most two digits as a number, -1 for anything else (a major version of the
// old form is one digit; longer ones are never rewritten).
int smallNumber(const std::string& text)
{
    if (text.empty() || text.size() > 2 || text.find_first_not_of(Digits) != std::string::npos)
        return -1;
    return std::atoi(text.c_str());
}

} // namespace

std::string versionOfKeyName(const char* name)
{
    const char* start = name + std::strcspn(name, Digits);
    // The version runs while digits, "." and "_" follow: "zulu-8-jre" gives "8".
    size_t length = std::strspn(start, "0123456789._");
    while (length > 0 && (start[length - 1] == '.' || start[length - 1] == '_'))
        --length;
    std::string version(start, length);
    if (version.empty() || version.find('_') != std::string::npos)
        return version;
    std::vector<std::string> parts = splitAt(version, '.');
    // Four numbers are the version and the build: 17.0.9.9 is 17.0.9+9.
    if (parts.size() >= 4)
        parts.resize(3);
    const int major = smallNumber(parts[0]);
    std::string out;
    if (major >= 2 && major <= 8) {
        // Java 8 and older report 1.8.0_392, not 8.0.392.
        out = "1." + parts[0];
        if (parts.size() >= 2)
            out += "." + parts[1];
        if (parts.size() >= 3)
            out += "_" + parts[2];
        return out;
    }
    for (const std::string& part : parts)
        out += (out.empty() ? "" : ".") + part;
    return out;
}

bool releaseLineVersion(const char* line, std::string& version)
{
    static const char Key[] = "JAVA_VERSION";
    const std::string text = trimBlanks(line);
    if (text.compare(0, sizeof Key - 1, Key) != 0)
        return false;
    const std::string rest = trimBlanks(text.substr(sizeof Key - 1));
    if (rest.empty() || rest[0] != '=')
        return false;
    std::string value = trimBlanks(rest.substr(1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = trimBlanks(value.substr(1, value.size() - 2));
    if (value.empty())
        return false;
    version = value;
    return true;
}

bool versionOutputVersion(const char* text, std::string& version)
{
    static const char Key[] = "version \"";
    const char* found = std::strstr(text, Key);
    if (found == nullptr)
        return false;
    const char* start = found + sizeof Key - 1;
    const char* end = std::strchr(start, '"');
    const std::string value = trimBlanks(end != nullptr ? std::string(start, end) : "");
    if (value.empty() || value.find_first_of("\r\n") != std::string::npos)
        return false;
    version = value;
    return true;
}

std::string peArchitecture(const unsigned char* bytes, size_t size)
{
    // The DOS header's "MZ", at 0x3C the offset of "PE\0\0", followed by the machine field.
    auto word = [bytes](size_t at) { return static_cast<unsigned>(bytes[at] | bytes[at + 1] << 8); };
    if (bytes == nullptr || size < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z')
        return std::string();
    const unsigned long header = word(0x3C) | static_cast<unsigned long>(word(0x3E)) << 16;
    if (header > size || size - header < 6 || std::memcmp(bytes + header, "PE\0\0", 4) != 0)
        return std::string();
    switch (word(header + 4)) {
    case 0x8664:
        return "x64";
    case 0x014C:
        return "x86";
    case 0xAA64:
        return "arm64";
    default:
        return std::string();
    }
}

std::string cleanHome(const char* home)
{
    std::string text = trimBlanks(home);
    if (!text.empty() && text.front() == '"')
        text.erase(0, 1);
    if (!text.empty() && text.back() == '"')
        text.pop_back();
    text = trimBlanks(text);
    // "C:\" names the drive's root; "C:" alone would be the drive's current directory.
    while (text.size() > 1 && (text.back() == '\\' || text.back() == '/' || isBlank(text.back())) &&
           !(text.size() == 3 && text[1] == ':' && !isBlank(text.back())))
        text.pop_back();
    return text;
}

std::vector<std::string> searchPathDirs(const char* pathValue)
{
    std::vector<std::string> dirs;
    for (const std::string& entry : splitAt(pathValue, ';')) {
        std::string dir = cleanHome(entry.c_str());
        if (!dir.empty())
            dirs.push_back(dir);
    }
    return dirs;
}

bool isSkippedPathDir(const char* dir, const char* windowsDir)
{
    const std::string path = lowerAscii(cleanHome(dir));
    if (path.empty())
        return false;
    const size_t cut = path.find_last_of("\\/");
    const std::string last = cut == std::string::npos ? path : path.substr(cut + 1);
    if (last == "javapath")
        return true;
    std::string windows = lowerAscii(cleanHome(windowsDir));
    if (windows.empty())
        return false;
    if (windows.back() != '\\')
        windows += '\\';
    const std::string withEnd = path.back() == '\\' ? path : path + '\\';
    return withEnd.compare(0, windows.size(), windows) == 0;
}

bool isRuntimeKeyName(const char* name)
{
    return lowerAscii(name).find("jre") != std::string::npos;
}

void orderForTrial(std::vector<std::string>& names, bool runtimesFirst)
{
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return version_rules::compareVersions(a.c_str(), b.c_str()) > 0;
    });
    if (runtimesFirst) {
        std::stable_partition(names.begin(), names.end(), [](const std::string& name) {
            return isRuntimeKeyName(name.c_str());
        });
    }
}

} // namespace source_rules
