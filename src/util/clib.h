// File, directory and path helpers used by every part of the launcher.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "util/Capacity.h"
#include "util/fexists.h"


// Every path these helpers take is in the program's own encoding, of any length up to the
// capacity of the path buffers; a relative one lies in the package directory (util/LongPath.h).

// True when `path` exists and is a directory.
bool isDir(const char* path);

// Removes the file `path`; a directory is no file. True when it was removed.
bool removeFile(const char* path);
// The same for a wide name in the form longPath gives.
bool removeFile(const std::wstring& path);
// Removes the empty directory `path`. True when it was removed.
bool removeDir(const char* path);
// Makes the directory `path`, whose parent exists. True when it was made.
bool makeDir(const char* path);
// Moves the file `from` to `to`, replacing a file there. True when it was moved.
bool replaceFile(const char* from, const char* to);
// The names in the directory `dir` that match `pattern`, "." and ".." left out, as the system
// spells them; false when it cannot be listed (an empty directory is listed).
bool listDir(const char* dir, std::vector<std::wstring>& names, const char* pattern = "*");
// The same in the program's own encoding. A name that it cannot hold exactly is left out (a
// look-alike would name another file) and counted in `unlisted` when given.
bool listDir(const char* dir, std::vector<std::string>& names, const char* pattern = "*",
             size_t* unlisted = nullptr);

// Copies the rest of `from` to `to` in chunks of 30000 bytes (at most 20 buffers a pass).
// False when either stream is null, a read or write fails, or the sizes do not match at the end.
bool copyStream(FILE* from, FILE* to);

// Copies a file, replacing `to`. False, touching nothing, for a missing source or a directory;
// after any other failure no destination remains.
bool copyFile(const char* from, const char* to);

// Appends the content of `from` to `to` (created when missing); `to` is never removed. True
// when all of `from` was appended.
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
