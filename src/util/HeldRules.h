// Text rule of a file held by another program for a moment (a scanner, an indexer, an editor):
// which failures are worth a wait, how long each wait lasts, and the lines that name such a
// file. No file calls here.
#pragma once

#include <string>
#include <vector>

// What was done to the file when it failed.
enum class FileAction { Delete, Rename, RemoveDir, Copy, Start };

// The system's errors of a held file: ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION and
// ERROR_USER_MAPPED_FILE; ERROR_ACCESS_DENIED as well where the file is being deleted by
// another program or is open for its deletion.
constexpr unsigned long SharingViolation = 32;
constexpr unsigned long LockViolation = 33;
constexpr unsigned long UserMappedFile = 1224;
constexpr unsigned long AccessDenied = 5;

// Whether the verdict on `error` after `action` depends on the entry's state: a refused
// delete, rename or directory removal, which the caller then tells of with `plainEntry`.
bool heldVerdictNeedsEntry(unsigned long error, FileAction action);
// Whether `error` after `action` may be another program holding the file: the three sharing
// errors always; a refused delete, rename or directory removal only of an entry that exists and
// is not read-only (`plainEntry`), since a read-only or missing one stays refused.
bool heldFailure(unsigned long error, FileAction action, bool plainEntry);

// The whole run's waits for held files add up to this at most; after that a held file fails at
// once.
constexpr unsigned long HeldBudgetMs = 30000;
// The wait before try number `retry` + 2 of a held file, `spentMs` of the budget spent: 50, 100,
// 200, 400, 800, 1600 and 1850 ms (about five seconds in all), cut to what is left of the
// budget; 0 when no try is left.
unsigned long heldWaitMs(int retry, unsigned long spentMs);

// `name` as the user knows it: without the "\\?\" form of a long path.
std::string shownFileName(const std::string& name);
// The trace line of the first wait for `name`.
std::string heldWaitLine(const std::string& name);
// The error-log line of a file that stayed held, naming the programs that hold it where the
// system could tell (at most four names, control characters replaced, each cut to 80 bytes).
std::string heldFileLine(const std::string& name, const std::vector<std::string>& holders);
