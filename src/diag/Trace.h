// The trace writer: lines reach the trace file only while that file exists, each one on the
// system's side before the call returns. The file stays open between lines, shared for reading,
// writing and deletion.
#pragma once

#include "diag/Log.h"

class Trace : public Log {
public:
    // Lets go of the trace file this process holds open between lines (the next line opens it
    // again): before this program deletes it, and before another program is started, which
    // may read, rewrite or delete it.
    static void release();

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
