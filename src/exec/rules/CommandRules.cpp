#include "exec/CommandRules.h"

#include <cerrno>
#include <cstring>

std::vector<std::string> splitAtBlanks(const char* text)
{
    std::vector<std::string> pieces;
    const char* start = text != nullptr ? text : "";
    for (;;) {
        const char* blank = std::strchr(start, ' ');
        if (blank == nullptr) {
            pieces.emplace_back(start);
            return pieces;
        }
        pieces.emplace_back(start, blank);
        start = blank + 1;
    }
}

int countWords(const char* text)
{
    if (text == nullptr || *text == '\0')
        return 0;
    int words = 1;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == ' ')
            ++words;
    }
    return words;
}

std::string fileNamePart(const char* path)
{
    if (path == nullptr)
        return std::string();
    const char* slash = std::strrchr(path, '\\');
    return slash != nullptr ? slash + 1 : path;
}

std::string joinForDisplay(const char* const* argv)
{
    std::string line;
    for (const char* const* p = argv; p != nullptr && *p != nullptr; ++p) {
        if (p != argv)
            line += ' ';
        const bool quote = std::strchr(*p, ' ') != nullptr && std::strchr(*p, '"') == nullptr;
        if (quote)
            line += '"';
        line += *p;
        if (quote)
            line += '"';
    }
    return line;
}

const char* spawnErrorText(int error)
{
    switch (error) {
    case ENOENT:
        return "File or path is not found";
    case E2BIG:
        return "Argument list exceeds 1024 bytes";
    case ENOEXEC:
        return "Specified file is not executable or has invalid executable-file format";
    case ENOMEM:
        return "Not enough memory is available to execute new process";
    case EINVAL:
        return "Mode argument is invalid";
    default:
        return "Unknown error";
    }
}
