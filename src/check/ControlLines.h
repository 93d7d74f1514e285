// The control file's bytes as the launcher reads them: its rewrite (carriage returns dropped,
// nothing after a Ctrl-Z), its encodings, its line pieces; and what of the file the rewrite
// changes. Pure text: no files here.
#pragma once

#include <string>
#include <vector>

#include "util/Utf8.h"

struct ControlPiece {
    unsigned line;      // the line's number, from 1
    bool continued;     // the rest of a line longer than a piece
    std::string text;   // without its newline, cut at a NUL
};

struct ControlLines {
    std::vector<ControlPiece> pieces;
    utf8::Encoding encoding = utf8::Encoding::Utf8;
    // The rewrite's changes: the number of lines that end in LF alone, the first line with a
    // carriage return that no LF follows, the line of a Ctrl-Z (0 for none).
    unsigned lfLines = 0;
    unsigned loneCrLine = 0;
    unsigned ctrlZLine = 0;
    // A file in the legacy code page: the first line with bytes outside ASCII (0 for none).
    unsigned legacyLettersLine = 0;
};

ControlLines readControlLines(const std::string& bytes);
