// A directory tree listed and copied at any depth, on the wide long-path calls every file
// operation of the launcher takes; links and junctions are listed but never entered.
#pragma once

#include <string>
#include <vector>

#include "util/TreeEntry.h"

// Lists everything below `dir` (the program's own encoding), each folder before what it holds.
// False, with `failed` naming it, when a folder cannot be listed.
bool listTree(const std::string& dir, std::vector<TreeEntry>& entries, std::string& failed);

// Told the bytes copied so far after every piece of a file.
class TreeCopyProgress {
public:
    virtual void copied(unsigned long long bytes) = 0;

protected:
    ~TreeCopyProgress() = default;
};

// Copies the entries `which` of `listing` from below `from` to below `to` (which exists), never
// onto a file that is there, and clears the read-only attribute of every copied file. False,
// with `failed` naming the entry, at the first one that could not be read or written.
bool copyTree(const std::string& from, const std::string& to,
              const std::vector<TreeEntry>& listing, const std::vector<size_t>& which,
              TreeCopyProgress* progress, std::string& failed);
