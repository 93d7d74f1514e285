// File, directory and path helpers used by every part of the launcher.
#pragma once

#include <cstdio>
#include <string>

#include "util/Capacity.h"
#include "util/fexists.h"


// True when `path` exists and is a directory.
bool isDir(const char* path);

// Copies the rest of `from` to `to` in chunks of 30000 bytes (at most 20 buffers a pass).
// False when either stream is null, a read or write fails, or the sizes do not match at the end.
bool copyStream(FILE* from, FILE* to);

// Copies a file, replacing `to`. After a failure no destination remains.
bool copyFile(const char* from, const char* to);

// Appends the content of `from` to `to` (created when missing); `to` is never removed.
bool appendFile(const char* from, const char* to);

// The search path ("path", "PATH" or "Path"), or null. Points into the process environment:
// read it, never change or free it.
const char* getPathPtr();

// Fills `buffer` with the current directory, never ending in a backslash ("C:" for a root);
// "." when it cannot be read.
void getCurrentDir(char* buffer, unsigned size);
// The same as a string.
std::string currentDirectory();

// Deletes the directory `path` and everything below it; never follows a junction and never
// touches anything outside `path`. True when every removal succeeded.
bool delDirTree(const char* path);
