// File operations tried again while another program holds the file for a moment: a scanner or
// an indexer opens every new file, an editor keeps one open. Every delete, rename, copy,
// directory removal and start of a just-copied program goes through here.
#pragma once

#include <string>

#include "util/HeldRules.h"

// Where the lines about held files go: `trace` gets the first wait for a file, `error` a file
// that stayed held. Set at the program's start; unset, nothing is told.
using HeldReport = void (*)(const char* line);
void setHeldReports(HeldReport trace, HeldReport error);

// After `action` on `path` failed (its error still the thread's last error): waits and returns
// true when the file may be held by another program and a try is left (`retry` counts the
// tries made after the first); else false, with the last error as the failure left it. The
// last try of a file that stays held reports it with the programs that hold it.
bool waitWhileHeld(FileAction action, const std::wstring& path, int retry);

// Runs `operation` (true on success, the system's last error set on failure) until it succeeds
// or its failure is no held file's.
template <typename Operation>
bool whileHeld(FileAction action, const std::wstring& path, Operation operation)
{
    for (int retry = 0;; ++retry) {
        if (operation())
            return true;
        if (!waitWhileHeld(action, path, retry))
            return false;
    }
}
