// The trace writer: lines reach the trace file only while that file exists.
#pragma once

#include "diag/Log.h"

class Trace : public Log {
public:
    void traceMessage(const char* traceFile, const char* message);
    void traceMessage(const char* traceFile, const char* label, const char* text);
    void traceMessage(const char* traceFile, const char* label, int number);
    void traceMessage(const char* traceFile, const char* label, bool flag);

    // Writes the error file unconditionally, then the trace file when it exists.
    void logAndTraceMessage(const char* errorFile, const char* traceFile, const char* message);
    void logAndTraceMessage(const char* errorFile, const char* traceFile, const char* label,
                            const char* text);
    void logAndTraceMessage(const char* errorFile, const char* traceFile, const char* label,
                            bool flag);
};
