// Starts a program with CreateProcessA, and waits for it where asked: the one place where the
// launcher creates a process.
#pragma once

#include <string>

// How a start went.
struct ChildRun {
    bool started = false;
    // The C runtime's error number for a failed start (ENOENT, ENOEXEC, ENOMEM, E2BIG, or another
    // value), taken from the system's error right at the failing call.
    int startError = 0;
    // The system's own error of a failed start (ERROR_ELEVATION_REQUIRED tells more than its
    // C runtime number); 0 after a start.
    unsigned long systemError = 0;
    // The time limit passed; the program and every process it started have been ended.
    bool timedOut = false;
    unsigned long exitCode = 0;
};

constexpr unsigned long NoTimeLimit = 0xFFFFFFFFul;
// ERROR_ELEVATION_REQUIRED (not in every SDK's headers): the program's manifest asks for an
// administrator, and a start that is not elevated never succeeds.
constexpr unsigned long ElevationRequiredError = 740;

// Starts `program` with `commandLine` (its argv[0] first, arguments quoted as they are to
// arrive) in the current directory, with this process's environment and inheritable handles,
// and waits until it ends. With `limitMs` other than NoTimeLimit it waits at most that long;
// the program then runs in a job object, so that ending the job ends whatever it started too.
// A program name without an extension is looked for as .com, .exe, .bat and .cmd, as the C
// runtime's start did. With `outputFile` (UTF-16, any length), the program's standard output
// and error go to that file, created anew. With `noWindow` a console program gets no console
// window (the launcher's own probes of a JVM: a window flashing up beside the dialog tells the
// user nothing).
ChildRun runChild(const char* program, const std::string& commandLine,
                  unsigned long limitMs = NoTimeLimit, const wchar_t* outputFile = nullptr,
                  bool noWindow = false);

// Starts `program` as runChild does and returns at once: the program runs on on its own.
ChildRun startChild(const char* program, const std::string& commandLine);
