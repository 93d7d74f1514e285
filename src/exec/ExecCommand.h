// Starts another program, waits until it has ended and reports whether it could be started.
#pragma once

#include <cstddef>
#include <memory>

#include "diag/Trace.h"
#include "util/TextBuffer.h"
#include "util/Capacity.h"

class ExecCommand : public Trace {
public:
    ExecCommand();
    ~ExecCommand() override = default;
    ExecCommand(const ExecCommand&) = delete;
    ExecCommand& operator=(const ExecCommand&) = delete;

    // Log file names for this object; callers that change the current directory set absolute ones.
    void setTraceFilename(const char* name);
    void setErrorsFilename(const char* name);

    // Runs `command` with the null-terminated vector `argv` and waits for it. False only when the
    // program cannot be started; `errorText` (capacity `errorSize`) then holds the reason.
    // Writes nothing to the error log. The program's command line is `commandLine` when given
    // (a caller that must pass texts as written), else `argv` quoted argument by argument.
    bool spawnAndWait(const char* command, const char* const* argv, char* errorText,
                      size_t errorSize = 500, const char* commandLine = nullptr);

    // Runs `command` with the blank-separated `args` (may be null) and waits for it. `count` is
    // the caller's idea of the number of arguments; the pieces found decide. A failed start is
    // written to the error log.
    bool execCommand(const char* command, const char* args, int count);

    // The vector as one command line for messages; the caller owns the text.
    std::unique_ptr<char[]> argsString(const char* const* argv);

    // Copies `command` into `out` (capacity `size`) and traces it; always true.
    bool formatCommand(const char* command, char* out, size_t size);

    void reportExecError(const char* command, int result, int error);
    // Logs a start refused because `program` must run as administrator, with its full path.
    void reportElevation(const char* program, unsigned long systemError);

    // The exit code of the last program that ran to its end.
    unsigned long lastExitCode() const { return exitCode; }

private:
    bool _execCommand(const char* command, const char* args, int count);
    bool invokeWinCommand(const char* command, const char* args, int count);

    TextBuffer traceFilename{PathCapacity};
    TextBuffer errorsFilename{PathCapacity};
    unsigned long exitCode = 0;
};
