// The one maker of the names that the programs' own file and directory operations hand to the
// system: a name in the program's own encoding becomes the wide, absolute form that the wide
// interfaces take at any length, so deep package directories, JVM directories and TEMP folders
// work up to the capacity of the path buffers.
#pragma once

#include <string>

// From now on relative names lie in `dir` (the package directory, the current directory at the
// start), whatever the current directory is later. Set before a second thread runs; until then,
// and in programs that never set it, relative names start at the current directory.
void setPackageDirectory(const char* dir);

// `name` as a full path in the program's own encoding: a relative name joined to the package
// directory, "." and ".." resolved, '/' turned into '\'. Empty when it cannot be resolved.
std::string fullPathOf(const char* name);

// The same in UTF-16, in the form every wide file interface takes at any length ("\\?\" in front
// of a path too long for the plain form). Empty for an empty or unconvertible name.
std::wstring longPath(const char* name);
// The same for a name that is in UTF-16 already (as the system told it).
std::wstring longPath(const std::wstring& name);
