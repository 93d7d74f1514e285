// Existence test for a file or directory, tolerant of a quoted program path with arguments.
#pragma once

// True when `path` names an existing file or directory. A path that begins with a double quote
// is tested without that quote and without everything from the next double quote on.
bool fexists(const char* path);
