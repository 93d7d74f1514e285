// Where a file or directory really lies, and whether two names denote the same one: names can
// differ by letter case, a trailing backslash, an 8.3 form, or a link on the way.
#pragma once

#include <string>

// The full path of `path` with every link on the way followed, in the file system's own
// spelling and without the "\\?\" prefix; empty when it does not exist or cannot be opened.
std::string finalPath(const char* path);

// True when both names exist and denote the same file or directory (the same identity, as
// fileIdentity tells it); false when either is missing, cannot be opened or has no identity.
bool sameFileObject(const char* a, const char* b);

// The identity of an existing file or directory as text (volume serial number and file id in
// hexadecimal), the same for every spelling of its name; empty when it cannot be opened or the
// system tells no id that is its own (util/IdentityRules.h).
std::string fileIdentity(const char* path);
