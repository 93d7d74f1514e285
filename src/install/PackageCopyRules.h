// What of a package directory that cannot be written is copied to a folder of its own under
// TEMP to run from there, and the room that copy needs.
#pragma once

#include <vector>

#include "util/TreeEntry.h"

struct PackageCopyPlan {
    std::vector<size_t> copied;   // indexes into the listing, folders before what they hold
    std::vector<size_t> skipped;  // links and junctions, and anything listed below one
    unsigned long long bytes = 0; // the size of the copied files
};

// Every file and folder is copied as it is named; a link or junction is never followed (what it
// points to may be anything, the whole disc included).
PackageCopyPlan planPackageCopy(const std::vector<TreeEntry>& listing);

// The free space the copy of `bytes` asks for: the bytes, a tenth more for the run's own
// files and the file system's rounding, and 16 MiB; the largest value where that overflows.
unsigned long long packageCopySpace(unsigned long long bytes);
