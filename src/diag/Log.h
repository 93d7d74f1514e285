// The error-log writer: one time-stamped line per call, appended and closed at once.
#pragma once

#include <cstdio>
#include <string>

class Log {
public:
    Log() = default;
    virtual ~Log() = default;

    void logMessage(const char* filename, const char* message);
    void logMessage(const char* filename, const char* label, const char* text);
    void logMessage(const char* filename, const char* label, int number);
    void logMessage(const char* filename, const char* label, bool flag);

protected:
    // One line, time stamp and message, into an open text stream, and echoed to standard
    // output while "term.log" exists.
    static void writeLine(FILE* file, const char* message);
    // The message of a labelled line: "label text", "label: 12", "label: true".
    static std::string labelled(const char* label, const char* text);
    static std::string labelled(const char* label, int number);
    static std::string labelled(const char* label, bool flag);
};

// The line's time stamp: asctime of the local time without its newline (24 characters).
// Fills `buffer` (capacity `size`).
void formatTimeStamp(char* buffer, unsigned size);
