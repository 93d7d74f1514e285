#include "jvm/provision/JvmDirRules.h"

#include <cstring>

#include "util/TextBuffer.h"

namespace {
bool startsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}
} // namespace

DirVariable classifyPredefinedDir(const char* text)
{
    if (!startsWith(text, "[$"))
        return DirVariable::None;
    if (startsWith(text, "[$ProgFilesDir]"))
        return DirVariable::ProgFilesDir;
    if (startsWith(text, "[$WinDir]"))
        return DirVariable::WinDir;
    if (startsWith(text, "[$AppDir]"))
        return DirVariable::AppDir;
    return DirVariable::Unknown;
}

VariableResult substituteVariable(const char* variable, const char* variableDir,
                                  const char* text, char* out, size_t capacity)
{
    if (capacity > 0)
        out[0] = '\0';
    const size_t variableLength = std::strlen(variable);
    if (std::strncmp(text, variable, variableLength) != 0 || text[variableLength] != '\\')
        return VariableResult::NoSeparator;
    if (text[variableLength + 1] == '\0')
        return VariableResult::NothingAfter;
    if (!copyText(out, capacity, variableDir) || !appendText(out, capacity, text + variableLength)) {
        out[0] = '\0';
        return VariableResult::TooLong;
    }
    return VariableResult::Substituted;
}

bool joinPathLevel(const char* dir, const char* name, char* out, size_t capacity)
{
    bool ok;
    if (dir[0] == '\0') {
        ok = copyText(out, capacity, name);
    } else {
        ok = copyText(out, capacity, dir);
        if (ok && dir[std::strlen(dir) - 1] != '\\')
            ok = appendText(out, capacity, "\\");
        ok = ok && appendText(out, capacity, name);
    }
    if (!ok && capacity > 0)
        out[0] = '\0';
    return ok;
}

bool nextPathEntry(const char* path, size_t& position, char* out, size_t capacity, bool& cut)
{
    const size_t length = std::strlen(path);
    if (position >= length)
        return false;
    const char* start = path + position;
    const char* end = std::strchr(start, ';');
    const size_t entryLength = end != nullptr ? static_cast<size_t>(end - start) : std::strlen(start);
    cut = entryLength >= capacity;
    const size_t kept = cut ? capacity - 1 : entryLength;
    std::memcpy(out, start, kept);
    out[kept] = '\0';
    position += entryLength + (end != nullptr ? 1 : 0);
    return true;
}

size_t wholePathEntriesLength(const char* path, size_t kept)
{
    if (path[kept] == '\0' || path[kept] == ';')
        return kept;
    while (kept > 0 && path[kept - 1] != ';')
        --kept;
    return kept;
}

void driveOfPath(const char* path, char* out, size_t capacity)
{
    const char* colon = std::strchr(path, ':');
    if (colon == nullptr || static_cast<size_t>(colon - path) + 1 >= capacity) {
        if (capacity > 0)
            out[0] = '\0';
        return;
    }
    const size_t length = static_cast<size_t>(colon - path) + 1;
    std::memcpy(out, path, length);
    out[length] = '\0';
}

bool isJavaSoftKind(const char* jvmName)
{
    return std::strcmp(jvmName, "JRE") == 0 || std::strcmp(jvmName, "JDK") == 0 ||
           std::strcmp(jvmName, "Java Plug-in") == 0;
}

