// Text rules of program starts: cutting argument strings, joining vectors for messages and the
// texts for a failed start. No system calls, so they build and test anywhere.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Cuts `text` at every single blank; two blanks in a row give an empty piece, and the text after
// the last blank is the final piece. An empty text gives one empty piece.
std::vector<std::string> splitAtBlanks(const char* text);

// Number of words by the blank rule: 0 for an empty (or null) text, else blanks + 1.
int countWords(const char* text);

// The file-name part of a path: the text after its last backslash, or the whole text.
std::string fileNamePart(const char* path);

// A null-terminated vector shown as one command line: elements joined by one blank, an element
// holding a blank and no double quote written between double quotes.
std::string joinForDisplay(const char* const* argv);

// The text that explains a failed start by the C runtime's error number for it.
const char* spawnErrorText(int error);

// The longest command line that Windows starts a program with: 32 767 characters, the
// terminating NUL included.
constexpr size_t MaxCommandLineSize = 32767;
inline bool commandLineTooLong(size_t length) { return length + 1 > MaxCommandLineSize; }

// The C runtime's error number for the system error of a failed process start, as the C
// runtime's own start reported it: a missing file or path ENOENT, a file that is no program
// ENOEXEC, no memory ENOMEM, no access EACCES, a too large environment E2BIG; EINVAL for any
// error its table does not list.
int startErrorNumber(unsigned long systemError);
