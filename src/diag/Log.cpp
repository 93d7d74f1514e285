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
    char stamp[TimeStampSize];
    formatTimeStamp(stamp, sizeof stamp);
    {
        const File file(filename, "a+t");
        if (!file)
            return;
        // The logs are UTF-8 whatever the code page the program runs with.
        std::fprintf(file.get(), "%s %s\n", stamp, toUtf8(message).c_str());
    }
    if (fexists(EchoFilename)) {
        std::fprintf(stdout, "%s %s\n", stamp, message);
        std::fflush(stdout);
    }
}

void Log::logMessage(const char* filename, const char* label, const char* text)
{
    const std::string message = std::string(label ? label : "") + " " + (text ? text : "");
    logMessage(filename, message.c_str());
}

void Log::logMessage(const char* filename, const char* label, int number)
{
    const std::string message = std::string(label ? label : "") + ": " + std::to_string(number);
    logMessage(filename, message.c_str());
}

void Log::logMessage(const char* filename, const char* label, bool flag)
{
    const std::string message = std::string(label ? label : "") + (flag ? ": true" : ": false");
    logMessage(filename, message.c_str());
}
