#include "config/ControlFileRules.h"

#include <cstring>
#include <string>
#include <strings.h>

#include "util/AsciiCase.h"
#include "util/TextBuffer.h"
#include "util/Capacity.h"
#include "util/Utf8.h"

namespace control_file {

const Setting Settings[SettingCount] = {
    {"jvmRequiredVersion", 201},
    {"jvmMinVersion", 201},
    {"jvmMaxVersion", 201},
    {"jvmVersion", 201},
    {"jvmName", 201},
    {"jvmCommandName", PathCapacity},
    {"jvmInstallerType", 5000},
    {"jvmSelfExtractor", 5000},
    {"jvmInstallerBinary", 5000},
    {"jvmInstallerCommand", 5000},
    {"predefinedJvmInstallDir", 5000},
    {"jvmHomeDir", PathCapacity},
    {"jvmExtraParameters", 5000},
    {"jvmClasspathSwitch", 1000},
    {"loaderClasspath", 5000},
    {"loaderJavaCommand", 5000},
    {"systemSecurityPolicyFilename", PathCapacity},
    {"userSecurityPolicyFilename", PathCapacity},
    {"keystoreFilename", PathCapacity},
    {"appletUrl", 5000},
    {"searchForJvm", 100},
    // After every older key, so that no line that one of them took changes hands.
    {"jvmTestTimeout", 100},
    {"jvmBundledDir", PathCapacity},
    {"jvmDownloadUrl", 5000},
    {"jvmArchitecture", 100},
    {"productName", 201},
};

int matchKey(const char* line)
{
    for (int i = 0; i < SettingCount; ++i) {
        if (std::strncmp(line, Settings[i].key, std::strlen(Settings[i].key)) == 0)
            return i;
    }
    return -1;
}

const char* valueAfterKey(const char* line, size_t keyLength)
{
    const char* rest = line + keyLength;
    return *rest == '\0' ? rest : rest + 1;
}

void unescapeInstallDir(char* path)
{
    char* out = path;
    for (const char* in = path; *in != '\0'; ++in) {
        if (*in == '/') {
            *out++ = '\\';
        } else if (*in == '\\' && (in[1] == ':' || in[1] == '\\')) {
            ++in;
            *out++ = *in;
        } else {
            *out++ = *in;
        }
    }
    *out = '\0';
}

bool isfilenameChar(char c)
{
    return std::strchr("\\/:*?\"<>|", c) == nullptr || c == '\0';
}

void removeExtraBackSlashes(char* text,
                            const std::function<void(const char* text, bool after)>& onDelete)
{
    size_t length = std::strlen(text);
    char right = '\0';
    for (size_t i = length; i-- > 0;) {
        if (text[i] == '\\' && !isfilenameChar(right)) {
            if (onDelete)
                onDelete(text, false);
            std::memmove(text + i, text + i + 1, length - i);
            --length;
            if (onDelete)
                onDelete(text, true);
            // The neighbour of the next position stays the character after the deleted one.
            continue;
        }
        right = text[i];
    }
}

namespace {

bool endsWith(const char* text, const char* extension)
{
    const char* first = std::strstr(text, extension);
    return first != nullptr && first[std::strlen(extension)] == '\0';
}

} // namespace

void normaliseCommandName(char* name, size_t capacity, bool userTraceLog)
{
    TextBuffer work(PathCapacity);
    work.set(name);
    lowerAsciiInPlace(work.data());
    if (!endsWith(work, ".exe") && !endsWith(work, ".bat") && !endsWith(work, ".com")) {
        char* dot = std::strchr(work.data(), '.');
        if (dot != nullptr)
            *dot = '\0';
        work.append(".exe");
    }
    if (!userTraceLog) {
        if (std::strncmp(work, "jre.exe", 7) == 0)
            work.set("jrew.exe");
        else if (std::strncmp(work, "java.exe", 8) == 0)
            work.set("javaw.exe");
    }
    copyText(name, capacity, work);
}

size_t linePieceLength(const char* text, size_t length)
{
    const size_t limit = length < LinePieceLength ? length : LinePieceLength;
    const void* newline = std::memchr(text, '\n', limit);
    if (newline != nullptr)
        return static_cast<size_t>(static_cast<const char*>(newline) - text) + 1;
    return utf8::cutPoint(text, length, limit);
}

const char* lineNotTakenReason(const char* line)
{
    if (*line == '\0' || matchKey(line) >= 0 || isConfigureWinRegistryLine(line) ||
        isReadOnlyPackageLine(line))
        return nullptr;
    const char* first = line + std::strspn(line, " \t");
    if (*first == '\0')
        return nullptr;
    if (first != line && (matchKey(first) >= 0 || isConfigureWinRegistryLine(first)))
        return "blank before the key";
    if (std::strchr(line, '=') == nullptr)
        return "no \"=\"";
    return "unknown key";
}

bool blankAfterKey(const char* line)
{
    const int index = matchKey(line);
    size_t length = 20;  // "configureWinRegistry"
    if (index >= 0)
        length = std::strlen(Settings[index].key);
    else if (!isConfigureWinRegistryLine(line))
        return false;
    return line[length] == ' ' || line[length] == '\t';
}

bool isConfigureWinRegistryLine(const char* line)
{
    return std::strncmp(line, "configureWinRegistry", 20) == 0;
}

bool configureWinRegistryValue(const char* line)
{
    // Key and separator take the first 21 characters; a shorter line has an empty value.
    const char* value = std::strlen(line) > 21 ? line + 21 : "";
    return strcasecmp(value, "true") == 0 || strcasecmp(value, "yes") == 0;
}

bool lineEndsAlreadyWritten(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\x1A' || (text[i] == '\r' && (i + 1 == length || text[i + 1] != '\n')) ||
            (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')))
            return false;
    }
    return true;
}

bool isReadOnlyPackageLine(const char* line)
{
    return std::strncmp(line, "readOnlyPackage", 15) == 0;
}

bool readOnlyPackageStops(const char* line)
{
    std::string value = std::strlen(line) > 16 ? line + 16 : "";
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
        value.pop_back();
    return strcasecmp(value.c_str(), "stop") == 0;
}

unsigned testTimeoutSeconds(const char* value)
{
    if (value == nullptr || *value == '\0')
        return DefaultTestTimeout;
    // A day is more than any test run needs; the cap keeps the milliseconds within 32 bits.
    unsigned seconds = 0;
    for (const char* p = value; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return DefaultTestTimeout;
        if (seconds < MaxTestTimeout)
            seconds = seconds * 10 + static_cast<unsigned>(*p - '0');
    }
    if (seconds == 0)
        return DefaultTestTimeout;
    return seconds < MaxTestTimeout ? seconds : MaxTestTimeout;
}

const char* architectureSetting(const char* value)
{
    if (*value == '\0' || strcasecmp(value, "any") == 0)
        return "";
    for (const char* name : {"x64", "x86", "arm64"}) {
        if (strcasecmp(value, name) == 0)
            return name;
    }
    return nullptr;
}

bool isDownloadUrl(const char* value)
{
    size_t scheme = 0;
    if (strncasecmp(value, "http://", 7) == 0)
        scheme = 7;
    else if (strncasecmp(value, "https://", 8) == 0)
        scheme = 8;
    if (scheme == 0 || value[scheme] == '\0' || value[scheme] == '/')
        return false;
    for (const char* p = value; *p != '\0'; ++p) {
        if (static_cast<unsigned char>(*p) <= ' ' || *p == 0x7F)
            return false;
    }
    return true;
}

} // namespace control_file
