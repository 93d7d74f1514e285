// The text rule behind every name the programs hand to the wide file interfaces: which names lie
// in the package directory, and when a full path needs the "\\?\" form that lifts the length
// limit of the plain one. No system calls.
#pragma once

#include <cstddef>
#include <string>

namespace long_path {

// The longest full path that every wide file interface takes in its plain form: a directory is
// made only up to 12 characters short of MAX_PATH (260).
constexpr size_t PlainLimit = 247;

// True for a name that names no place of its own: no drive ("C:"), no leading separator (a
// share, a root, a "\\?\" name). Such a name lies in the package directory.
bool isRelative(const std::wstring& name);

// `fullPath` (absolute, as the system resolved it) in the form the wide interfaces take at any
// length: as it is up to PlainLimit characters and when it has a "\\?\" or "\\.\" form already;
// else with "\\?\" in front, a share's two leading separators becoming "\\?\UNC\".
std::wstring extended(const std::wstring& fullPath);

} // namespace long_path
