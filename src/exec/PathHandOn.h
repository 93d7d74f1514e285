// The one place that decides the form of a path handed to another program, and of a path
// written into a file that another program reads: the path itself where the program's code
// page holds it (byte for byte as always) and it is not too long for its use, else its short
// name, else its form relative to the program's working directory. A path with no such form is
// noted by the object that was asked: the caller decides what it means for its road (a
// candidate passed over, or a run that fails).
#pragma once

#include <windows.h>

#include <string>

#include "diag/Trace.h"
#include "util/Wide.h"

class PathHandOn : public Trace {
public:
    // The longest program path or path argument a program takes (MAX_PATH less its NUL), and
    // the longest working directory a program can be started in (less its final backslash).
    static constexpr size_t PathLimit = MAX_PATH - 1;
    static constexpr size_t WorkDirLimit = MAX_PATH - 2;

    // `traceFile`: where substitutions are traced (an absolute name when the caller changes the
    // current directory).
    explicit PathHandOn(const char* traceFile);

    // `path` (the program's own encoding) in the form a program that decodes with `codePage`
    // and works in `workDir` (empty: no relative form) can read, in the program's own encoding
    // (the start converts the command line for the child). False, with the path noted and
    // traced, when there is none; `out` then holds the path unchanged.
    // With `avoidBlanks` a path holding a blank goes by its short name where that has none.
    // A form longer than `maxLength` characters is none.
    bool form(const char* path, std::string& out, const char* workDir = "",
              UINT codePage = legacyCodePage(), bool avoidBlanks = false,
              size_t maxLength = PathLimit);

    // As form(), for the directory a program is to be started in.
    bool workDirForm(const char* path, std::string& out, UINT codePage = legacyCodePage());

    // As form(), in the bytes of the legacy code page: for files that a program without the
    // UTF-8 setting reads. With `forwardSlashes` every backslash becomes '/' before the
    // encoding (after it, a backslash's byte may be half of a two-byte letter). False, with the
    // path noted, when there is no such form.
    bool fileForm(const char* path, std::string& out, bool forwardSlashes = false);

    // Text typed by the user goes on as it is; a warning is traced when the legacy code page
    // cannot hold it.
    void warnUnlessFits(const char* label, const char* text);

    // The first path this object could not hand on; empty when there was none.
    const std::string& failedPath() const { return failed_; }

private:
    void noteFailure(const std::string& path, const char* reason);

    std::string traceFile_;
    std::string failed_;
};
