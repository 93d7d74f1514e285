#include "diag/Trace.h"

#include "util/fexists.h"

void Trace::traceMessage(const char* traceFile, const char* message)
{
    if (fexists(traceFile))
        logMessage(traceFile, message);
}

void Trace::traceMessage(const char* traceFile, const char* label, const char* text)
{
    if (fexists(traceFile))
        logMessage(traceFile, label, text);
}

void Trace::traceMessage(const char* traceFile, const char* label, int number)
{
    if (fexists(traceFile))
        logMessage(traceFile, label, number);
}

void Trace::traceMessage(const char* traceFile, const char* label, bool flag)
{
    if (fexists(traceFile))
        logMessage(traceFile, label, flag);
}

void Trace::logAndTraceMessage(const char* errorFile, const char* traceFile, const char* message)
{
    logMessage(errorFile, message);
    traceMessage(traceFile, message);
}

void Trace::logAndTraceMessage(const char* errorFile, const char* traceFile, const char* label,
                               const char* text)
{
    logMessage(errorFile, label, text);
    traceMessage(traceFile, label, text);
}

void Trace::logAndTraceMessage(const char* errorFile, const char* traceFile, const char* label,
                               bool flag)
{
    logMessage(errorFile, label, flag);
    traceMessage(traceFile, label, flag);
}
