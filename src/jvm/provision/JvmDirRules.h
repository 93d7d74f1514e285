// Text rules of JVM provisioning: version parts, directory variables, path levels and PATH
// entries. No system calls here, so the rules build and can be checked on any host.
#pragma once

#include <cstddef>

// Which directory variable a predefined JVM directory begins with.
enum class DirVariable { None, ProgFilesDir, WinDir, AppDir, Unknown };
DirVariable classifyPredefinedDir(const char* text);

// Outcome of putting the directory a variable stands for in place of the variable.
enum class VariableResult { NoSeparator, NothingAfter, Substituted, TooLong };
// `text` must begin with `variable` followed by "\" and something more; `out` then receives
// `variableDir` followed by the rest of the text after the variable (which begins with "\").
// `out` is left empty unless the result is Substituted.
VariableResult substituteVariable(const char* variable, const char* variableDir,
                                  const char* text, char* out, size_t capacity);

// The path one level below `dir`: `name` alone when dir is empty, dir + name when dir ends in
// "\", else dir + "\" + name. False (out emptied) when the result does not fit.
bool joinPathLevel(const char* dir, const char* name, char* out, size_t capacity);

// The next entry of a ";"-separated search path, starting at `position` (advanced past the
// entry and its separator). A leading or doubled ";" gives an empty entry, a trailing one
// none. False when no entry is left. `cut` tells whether the entry did not fit `out`.
bool nextPathEntry(const char* path, size_t& position, char* out, size_t capacity, bool& cut);

// How much of `path` holds whole entries only, when just its first `kept` characters could be
// copied: all of them when the cut falls at the end or on a ";", else up to and including the
// last ";" before the cut (0 when there is none).
size_t wholePathEntriesLength(const char* path, size_t kept);

// The drive of a path: the text up to and including its first ":", or empty.
void driveOfPath(const char* path, char* out, size_t capacity);

// True for the kinds that get the JavaSoft layout: exactly "JRE", "JDK" or "Java Plug-in".
bool isJavaSoftKind(const char* jvmName);

