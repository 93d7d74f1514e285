// Text rules of JVM version checking: version acceptance, version line extraction, splitting a
// version and a JVM home from a program path. Pure text functions.
#pragma once

#include <cstddef>

namespace version_rules {

// True when the JVM version `version` satisfies the required, minimum and maximum settings.
// Versions are compared component by component (see compareVersions), each setting against
// the same number of leading components of the version, so that a setting takes in every
// version that begins with it: 1.4 matches 1.4.2_05, and a maximum of 1.5 every 1.5.x.
bool verifyVersion(const char* required, const char* minimum, const char* maximum,
                   const char* version);

// Why `version` fails the settings, as the rejection list words it: "older than jvmMinVersion",
// "newer than jvmMaxVersion" or "not the required version"; null when verifyVersion accepts it.
const char* versionVerdict(const char* required, const char* minimum, const char* maximum,
                           const char* version);

// Orders two versions: negative, zero or positive. They are split at ".", "_", "-" and "+";
// components made only of digits compare as numbers of any length (leading zeros ignored),
// other components as text without regard to case; an empty component sorts first, then
// numbers, then text. A version that
// is a proper prefix of the other, component-wise, sorts first; the empty text has no
// components. A total order, so versions can be sorted with it.
int compareVersions(const char* first, const char* second);

// True for a version setting that names versions the JVMs report: components of letters and
// digits, none empty, joined by single separators, the first a number ("11", "1.8.0_392",
// "17-ea"); false for "", "1.8+", "1..4", "jdk1.4" or one with a blank.
bool isComparableVersion(const char* setting);

// Reduces `line` in place to the stretch from its first to its last decimal digit; a line
// without any digit becomes empty.
void extractVersion(char* line);

// Splits 1.4.2_05 into family 1.4 and micro 2_05; with fewer than two "." the family is the
// whole version and the micro "0". A null version counts as empty. False when either part did
// not fit its buffer (the parts are then cut).
bool parseVersion(const char* version, char* family, size_t familySize, char* micro,
                  size_t microSize);

// The JVM home of a program path: the program's directory, or that directory's parent when the
// program lies directly in a "bin" directory (C:\jre\bin\java.exe gives C:\jre).
void getJavaHomeDirectory(const char* programPath, char* home, size_t homeSize);

// Cuts `dir` in place before its last component when that component is "bin" (case-sensitive;
// one trailing backslash is allowed); any other directory stays as it is, also one with a "bin"
// further up (C:\apps\bin\jre).
void cutAtBinComponent(char* dir);

// The "java" form of an old runtime program name ("jre..." becomes "javaw.exe" when `windowed`,
// "java.exe" otherwise); false (name untouched) when `name` does not begin with "jre".
bool javaFormOfName(char* name, size_t capacity, bool windowed);


} // namespace version_rules
