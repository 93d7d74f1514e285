// A control file read whole, in whatever encoding an editor wrote it, and handed out in the
// program's own encoding in the pieces that the line reader takes.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "util/Utf8.h"

class ControlText {
public:
    // Reads `filename`; false when it cannot be opened. Bytes are read as a text-mode stream
    // reads them (CR LF as one newline, the end at a Ctrl-Z); UTF-16 is read whole and its
    // carriage returns dropped, as the line-ending rewrite drops them from other files.
    bool open(const char* filename);

    // The next piece of a line into `line` (room for LinePieceLength + 1 bytes and more),
    // without its newline and cut at a NUL; false at the end.
    bool next(char* line);

    // Of the piece last handed out: its line's number (from 1), whether it continues a line
    // begun by an earlier piece, and whether text after a NUL in it was dropped.
    unsigned lineNumber() const { return lineNumber_; }
    bool continued() const { return continued_; }
    bool cutAtNul() const { return cutAtNul_; }
    // Whether the piece's line held letters that the program's own encoding lacks (a UTF-8 or
    // UTF-16 file where the code page is not UTF-8): they were read as "?".
    bool lettersLost() const;

    // The encoding's name for the trace; null for plain UTF-8 (ASCII included).
    const char* encodingName() const;

    // True when `file` (just opened, left at its start) begins with a UTF-16 byte-order mark.
    static bool startsAsUtf16(FILE* file);

private:
    std::string text_;
    size_t position_ = 0;
    unsigned lineNumber_ = 0;
    bool lineOpen_ = false;
    bool continued_ = false;
    bool cutAtNul_ = false;
    utf8::Encoding encoding_ = utf8::Encoding::Utf8;
    std::vector<unsigned> lostLines_;  // numbers of the lines that lost letters, ascending
};
