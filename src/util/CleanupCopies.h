// The copies of the cleanup program under TEMP. A running program's file cannot be deleted, so
// the cleanup program hands the removal of a package directory to a copy of itself outside it;
// each copy is left behind, and the next cleanup program or launcher run deletes it.
#pragma once

#include <string>

// Copies the program file `self` to a name of its own under TEMP ("qrvcleanup-" and a number,
// ".exe"), made so that it never overwrites a file, with the read-only attribute a file of a
// disc carries cleared. The copy's full name, or empty when it could not be made.
std::wstring makeCleanupCopy(const std::wstring& self);

// Deletes every such copy under TEMP that no process runs (a running program's file refuses).
void removeCleanupCopies();
