// The error-log writer: one time-stamped line per call, appended and closed at once.
#pragma once

class Log {
public:
    Log() = default;
    virtual ~Log() = default;

    void logMessage(const char* filename, const char* message);
    void logMessage(const char* filename, const char* label, const char* text);
    void logMessage(const char* filename, const char* label, int number);
    void logMessage(const char* filename, const char* label, bool flag);
};

// The line's time stamp: asctime of the local time without its newline (24 characters).
// Fills `buffer` (capacity `size`).
void formatTimeStamp(char* buffer, unsigned size);
