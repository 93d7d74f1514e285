// One run per package directory: two runs in the same files would search, test-run and start
// two wizards there and remove each other's files.
#pragma once

#include <windows.h>

#include <string>

#include "util/Handle.h"

class SingleRun {
public:
    // Takes the mutex of the session named after the identity of `packageDir`, so that every
    // spelling of the directory (8.3 form, other case) meets the same one. A directory without
    // an identity of its own, or a mutex that cannot be made, leaves the run unguarded (traced).
    explicit SingleRun(const char* packageDir);
    ~SingleRun();
    SingleRun(const SingleRun&) = delete;
    SingleRun& operator=(const SingleRun&) = delete;

    // True when another run of the same directory holds the mutex.
    bool heldElsewhere() const { return heldElsewhere_; }
    // Marks this run's status dialog, so that a second start can find it.
    void markDialog(HWND dialog);
    // Brings the other run's status dialog to the front when it shows one.
    void bringOtherRunForward() const;

private:
    std::string property_;
    Handle mutex_;
    HWND marked_ = nullptr;
    bool heldElsewhere_ = false;
};
