// Text rule of disk space: sizes as a user reads them and the error-log line of the free space
// left on the volumes a failed installation wrote to. No file calls here.
#pragma once

#include <string>
#include <vector>

// One volume's root and the bytes free there; `known` false where the system could not tell.
struct VolumeSpace {
    std::string root;
    bool known = false;
    unsigned long long freeBytes = 0;
};

// "512 bytes", "64 KB" (whole kilobytes below a megabyte), "21.4 GB" (one decimal from a
// megabyte on; units of 1024).
std::string spaceText(unsigned long long bytes);
// "free space: Q:\ 64 KB, C:\ 21.4 GB": each volume once, in the order given, "unknown" where the
// system could not tell; roots are compared without case.
std::string freeSpaceText(const std::vector<VolumeSpace>& volumes);
// The failure text of a write into `folder` that ran out of space.
std::string diskFullText(const std::string& folder);
