// Text rules of the PATH lookup for the Windows directory and of the unwritable package
// directory (which refusals mean it cannot be written, the log folder under TEMP).
#pragma once

#include <string>
#include <vector>

// The entries of the search path `pathValue` (at most its first 4999 characters) that end in
// `name`, compared in lower case, in their order and in lower case. An entry matches when the
// first occurrence of `name` in it runs to its end; empty entries are skipped. Whether an entry
// exists is for the caller to check.
std::vector<std::string> pathEntriesEndingIn(const char* pathValue, const char* name);

// The name of the folder under TEMP that takes the logs of a package directory that cannot be
// written: "qrv-" and the directory's last name (its drive letter for a drive's root), then "-"
// and eight hexadecimal digits made from the directory's whole path (in any letter case and
// with either separator alike), so that directories of one last name get folders of their own.
std::string logFolderName(const std::string& packageDir);

// Whether a file creation refused with the system error `error` means that the package
// directory cannot be written: access denied (5) or a write-protected medium (19).
bool refusesWrites(unsigned long error);
