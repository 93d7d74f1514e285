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

int startErrorNumber(unsigned long systemError)
{
    // The system's error numbers (winerror.h), spelled out: this file stays free of windows.h.
    switch (systemError) {
    case 2:     // ERROR_FILE_NOT_FOUND
    case 3:     // ERROR_PATH_NOT_FOUND
    case 15:    // ERROR_INVALID_DRIVE
    case 53:    // ERROR_BAD_NETPATH
    case 67:    // ERROR_BAD_NET_NAME
    case 161:   // ERROR_BAD_PATHNAME
    case 206:   // ERROR_FILENAME_EXCED_RANGE
        return ENOENT;
    case 7:     // ERROR_ARENA_TRASHED
    case 8:     // ERROR_NOT_ENOUGH_MEMORY
    case 9:     // ERROR_INVALID_BLOCK
    case 14:    // ERROR_OUTOFMEMORY
    case 1816:  // ERROR_NOT_ENOUGH_QUOTA
        return ENOMEM;
    case 5:     // ERROR_ACCESS_DENIED
        return EACCES;
    case 11:    // ERROR_BAD_FORMAT
        return ENOEXEC;
    default:
        // ERROR_INVALID_STARTING_CODESEG (188) to ERROR_INFLOOP_IN_RELOC_CHAIN (202), among
        // them ERROR_BAD_EXE_FORMAT (193): the file is no program of this system.
        return systemError >= 188 && systemError <= 202 ? ENOEXEC : 0;
    }
}
