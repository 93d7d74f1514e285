// Text rules for placing Java security files: value forms, backup names, the identity
// database line and the words of the change log. No system calls here.
#pragma once

#include <cstddef>

// Splits `text` at its last "/" into the part before and the part after. False (both parts
// left empty) when there is no "/" or a part does not fit.
bool splitAtLastSlash(const char* text, char* before, size_t beforeCapacity, char* after,
                      size_t afterCapacity);

// The backup name of a file: the extension of its file name (from the last "." after the last
// "\") replaced by ".001"; a path without any "\" keeps its whole name and gets ".001" added.
// False (out emptied) when the name does not fit.
bool backupNameOf(const char* path, char* out, size_t capacity);

// When `line` sets "identity.database=", writes its value into `out`: trailing line ends and
// blanks removed, "/" turned into "\", each run of backslashes made one. False otherwise or
// when the value does not fit.
bool identityDatabaseOfLine(const char* line, char* out, size_t capacity);

// The verb and preposition of the change-log line in the given language; English for a key
// without words of its own.
void backupWords(const char* language, const char** verb, const char** preposition);
