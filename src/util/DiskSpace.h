// The free space of the volumes that folders lie on, and the disk-full errors of a write.
#pragma once

#include <string>
#include <vector>

#include "util/DiskSpaceRules.h"

// The error-log line of the free space on the volumes of `folders` (each volume once).
std::string freeSpaceLine(const std::vector<std::string>& folders);
// After a failed write of `path`: the failure text of a full disk, naming the folder, when the
// thread's last error says the disk is full; empty otherwise.
std::string diskFullReason(const char* path);
// Whether the system's error `error` says that a disk is full.
bool isDiskFull(unsigned long error);
