#include "diag/Log.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "util/File.h"
#include "util/fexists.h"
#include "util/Wide.h"

namespace {
constexpr const char* EchoFilename = "term.log";
constexpr unsigned TimeStampSize = 1000;
} // namespace

void formatTimeStamp(char* buffer, unsigned size)
{
    if (buffer == nullptr || size == 0)
        return;
    const time_t now = std::time(nullptr);
    const struct tm* local = std::localtime(&now);
    const char* text = local != nullptr ? std::asctime(local) : nullptr;
    std::snprintf(buffer, size, "%s", text != nullptr ? text : "");
    const size_t length = std::strlen(buffer);
    if (length > 0 && buffer[length - 1] == '\n')
        buffer[length - 1] = '\0';
}

void Log::logMessage(const char* filename, const char* message)
{
    if (filename == nullptr || message == nullptr)
        return;
    {
        const File file(filename, "a+t");
        if (!file)
            return;
        writeLine(file.get(), message);
    }
}

void Log::writeLine(FILE* file, const char* message)
{
    char stamp[TimeStampSize];
    formatTimeStamp(stamp, sizeof stamp);
    // The logs are UTF-8 whatever the code page the program runs with.
    std::fprintf(file, "%s %s\n", stamp, toUtf8(message).c_str());
    // On the system's side before anything else happens: a process that ends now keeps it.
    std::fflush(file);
    if (fexists(EchoFilename)) {
        std::fprintf(stdout, "%s %s\n", stamp, message);
        std::fflush(stdout);
    }
}

std::string Log::labelled(const char* label, const char* text)
{
    return std::string(label ? label : "") + " " + (text ? text : "");
}

std::string Log::labelled(const char* label, int number)
{
    return std::string(label ? label : "") + ": " + std::to_string(number);
}

std::string Log::labelled(const char* label, bool flag)
{
    return std::string(label ? label : "") + (flag ? ": true" : ": false");
}

void Log::logMessage(const char* filename, const char* label, const char* text)
{
    logMessage(filename, labelled(label, text).c_str());
}

void Log::logMessage(const char* filename, const char* label, int number)
{
    logMessage(filename, labelled(label, number).c_str());
}

void Log::logMessage(const char* filename, const char* label, bool flag)
{
    logMessage(filename, labelled(label, flag).c_str());
}
