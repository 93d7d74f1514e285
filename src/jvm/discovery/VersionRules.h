// Text rules of JVM version checking: version acceptance, version line extraction, splitting a
// version and a JVM home from a program path. Pure text functions.
#pragma once

#include <cstddef>

namespace version_rules {

// True when the JVM version `version` satisfies the required, minimum and maximum settings.
// Versions are compared as text, each setting against the same number of leading characters.
bool verifyVersion(const char* required, const char* minimum, const char* maximum,
                   const char* version);

// Reduces `line` in place to the stretch from its first to its last decimal digit; a line
// without any digit becomes empty.
void extractVersion(char* line);

// Splits 1.4.2_05 into family 1.4 and micro 2_05; with fewer than two "." the family is the
// whole version and the micro "0". A null version counts as empty. False when either part did
// not fit its buffer (the parts are then cut).
bool parseVersion(const char* version, char* family, size_t familySize, char* micro,
                  size_t microSize);

// The JVM home of a program path: its directory, cut before a trailing "bin" component.
void getJavaHomeDirectory(const char* programPath, char* home, size_t homeSize);

// Cuts `dir` in place before its last "bin" that is a whole path component (a backslash before
// it, a backslash or the end after it); a directory without one stays as it is.
void cutAtBinComponent(char* dir);

// The "java" form of an old runtime program name ("jre..." becomes "javaw.exe" when `windowed`,
// "java.exe" otherwise); false (name untouched) when `name` does not begin with "jre".
bool javaFormOfName(char* name, size_t capacity, bool windowed);


} // namespace version_rules
