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

namespace {

// The C runtime's own table from system error (winerror.h, spelled out: this file stays free of
// windows.h) to its error number.
struct ErrorMapping {
    unsigned long systemError;
    int number;
};
// Its entries for EINVAL are left out: that is the answer for every error not listed.
constexpr ErrorMapping StartErrors[] = {
    {2, ENOENT},   {3, ENOENT},   {4, EMFILE},     {5, EACCES},    {6, EBADF},    {7, ENOMEM},
    {8, ENOMEM},   {9, ENOMEM},   {10, E2BIG},     {11, ENOEXEC},  {15, ENOENT},  {16, EACCES},
    {17, EXDEV},   {18, ENOENT},  {53, ENOENT},    {65, EACCES},   {67, ENOENT},  {80, EEXIST},
    {82, EACCES},  {83, EACCES},  {89, EAGAIN},    {108, EACCES},  {109, EPIPE},  {112, ENOSPC},
    {114, EBADF},  {128, ECHILD}, {129, ECHILD},   {130, EBADF},   {132, EACCES}, {145, ENOTEMPTY},
    {158, EACCES}, {161, ENOENT}, {164, EAGAIN},   {167, EACCES},  {183, EEXIST}, {206, ENOENT},
    {215, EAGAIN}, {1816, ENOMEM},
};

} // namespace

int startErrorNumber(unsigned long systemError)
{
    for (const ErrorMapping& mapping : StartErrors) {
        if (mapping.systemError == systemError)
            return mapping.number;
    }
    // ERROR_WRITE_PROTECT (19) to ERROR_SHARING_BUFFER_EXCEEDED (36): the file is held or
    // protected. ERROR_INVALID_STARTING_CODESEG (188) to ERROR_INFLOOP_IN_RELOC_CHAIN (202),
    // among them ERROR_BAD_EXE_FORMAT (193): the file is no program of this system.
    if (systemError >= 19 && systemError <= 36)
        return EACCES;
    if (systemError >= 188 && systemError <= 202)
        return ENOEXEC;
    return EINVAL;
}
