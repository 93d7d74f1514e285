// One entry of a directory tree's listing, as the tree copy and the rules that plan it see it.
#pragma once

#include <string>

struct TreeEntry {
    std::string name;         // relative to the tree's root, '\' between the folders
    unsigned long long size;  // in bytes; 0 for a folder
    unsigned long attributes; // the system's file attributes
};

namespace tree_attributes {
constexpr unsigned long ReadOnly = 0x1;
constexpr unsigned long Directory = 0x10;
constexpr unsigned long ReparsePoint = 0x400;
} // namespace tree_attributes
