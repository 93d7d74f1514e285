// Text rules of the end-of-run cleanup: manifest lines, hand-over properties, path containment.
#pragma once

#include <string>

// The file named by a manifest line "Name: <file>", trailing blanks, CR and LF removed; false
// when the line does not begin exactly with "Name: " or names nothing.
bool manifestName(const std::string& line, std::string& name);

// A "native.properties" line as cleanup reads it: every backslash dropped, then every slash
// turned into a backslash, the line end removed.
std::string normalisePropertiesLine(const std::string& line);

// The value after `key` and "=" when `line` begins with `key` (the "=" itself is not checked, as
// the key's length plus one gives the value's start); false otherwise.
bool propertyValue(const std::string& line, const char* key, std::string& value);

// The first line of "startdir.txt" with trailing blanks, CR and LF removed (never its first
// character), at most 4999 characters.
std::string startDirFromLine(const std::string& line);

// True when the full path `path` lies strictly below the full directory `dir`, compared without
// regard to case ("C:\pkg\jvm" is below "C:\pkg"; "C:\pkg" and "C:\pkg2\x" are not).
bool isStrictlyInside(const std::string& path, const std::string& dir);
