#include "launcher/CommandLine.h"

#include <cstring>

#include "util/AsciiCase.h"

namespace {
constexpr const char* QuietSwitch = "-q";
constexpr const char* PropertiesSwitch = "-s";

// Splits at blanks; calls `onToken` for every token that a blank follows, returns the rest.
template <typename OnToken>
std::string walkTokens(const std::string& line, OnToken onToken)
{
    std::string rest = line;
    for (;;) {
        const size_t blank = rest.find(' ');
        if (blank == std::string::npos)
            return rest;
        if (!onToken(rest.substr(0, blank)))
            return rest.substr(blank + 1);
        rest.erase(0, blank + 1);
    }
}

// The part of `token` before its first double quote, and whether it had one.
std::string cutAtQuote(const std::string& token, bool& hadQuote)
{
    const size_t quote = token.find('"');
    hadQuote = quote != std::string::npos;
    return hadQuote ? token.substr(0, quote) : token;
}
} // namespace

bool hasInstallSwitch(const char* commandLine)
{
    if (commandLine == nullptr || std::strchr(commandLine, ' ') == nullptr)
        return false;
    bool found = false;
    walkTokens(commandLine, [&](const std::string& token) {
        found = token == QuietSwitch || token == PropertiesSwitch;
        return !found;
    });
    return found;
}

InstallRequest parseInstallRequest(const char* commandLine)
{
    InstallRequest request;
    if (commandLine == nullptr || std::strchr(commandLine, ' ') == nullptr)
        return request;
    bool switchSeen = false;
    bool inQuote = false;
    const std::string last = walkTokens(commandLine, [&](const std::string& token) {
        if (token == QuietSwitch) {
            request.quiet = true;
            switchSeen = true;
        } else if (token == PropertiesSwitch) {
            request.properties = true;
            switchSeen = true;
        } else if (switchSeen) {
            if (request.details.empty()) {
                const size_t quote = token.find('"');
                if (quote != std::string::npos) {
                    request.details = token.substr(quote + 1);
                    inQuote = true;
                } else {
                    request.details = token;
                }
            } else if (inQuote) {
                bool hadQuote = false;
                request.details += ' ';
                request.details += cutAtQuote(token, hadQuote);
                if (hadQuote)
                    inQuote = false;
            }
        }
        return true;
    });
    if (switchSeen && !last.empty()) {
        if (request.details.empty()) {
            request.details = last;
        } else if (inQuote) {
            bool hadQuote = false;
            request.details += ' ';
            request.details += cutAtQuote(last, hadQuote);
        }
    }
    return request;
}

std::string trimStartDirLine(const std::string& line)
{
    std::string dir = line;
    while (dir.size() > 1) {
        const char c = dir.back();
        if (c != ' ' && c != '\r' && c != '\n')
            break;
        dir.pop_back();
    }
    return dir;
}

bool startDirNeedsCleanup(const char* startDir, const char* currentDir)
{
    if (startDir == nullptr || *startDir == '\0')
        return false;
    const char* a = startDir;
    const char* b = currentDir != nullptr ? currentDir : "";
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (lowerAsciiChar(*a) != lowerAsciiChar(*b))
            return true;
    }
    return *a != *b;
}
