#include "check/ControlLines.h"

#include <algorithm>
#include <cstring>

#include "config/ControlFileRules.h"

namespace {

bool startsAsUtf16(const std::string& bytes)
{
    return bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0;
}

// What the in-place rewrite changes in a file that is not UTF-16, and the text it leaves: a
// text-mode read ends at a Ctrl-Z, and every carriage return is dropped.
std::string rewrite(const std::string& bytes, ControlLines& lines)
{
    std::string text;
    unsigned line = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\x1A') {
            lines.ctrlZLine = line;
            break;
        }
        if (c == '\r') {
            if (i + 1 >= bytes.size() || bytes[i + 1] != '\n') {
                if (lines.loneCrLine == 0)
                    lines.loneCrLine = line;
            }
            continue;
        }
        if (c == '\n') {
            if (i == 0 || bytes[i - 1] != '\r')
                ++lines.lfLines;
            ++line;
        }
        text += c;
    }
    return text;
}

unsigned firstLineOutsideAscii(const std::string& text)
{
    unsigned line = 1;
    for (char c : text) {
        if (c == '\n')
            ++line;
        else if (static_cast<unsigned char>(c) > 0x7F)
            return line;
    }
    return 0;
}

} // namespace

ControlLines readControlLines(const std::string& bytes)
{
    ControlLines lines;
    std::string text;
    if (startsAsUtf16(bytes)) {
        // Never rewritten: its carriage returns are dropped as it is read.
        lines.encoding = utf8::detect(bytes.data(), bytes.size());
        text = utf8::fromUtf16(bytes.data() + 2, bytes.size() - 2,
                               lines.encoding == utf8::Encoding::Utf16Be);
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    } else {
        text = rewrite(bytes, lines);
        lines.encoding = utf8::detect(text.data(), text.size());
        text.erase(0, utf8::markLength(lines.encoding));
        if (lines.encoding == utf8::Encoding::Legacy)
            lines.legacyLettersLine = firstLineOutsideAscii(text);
    }
    unsigned number = 0;
    bool open = false;
    for (size_t at = 0; at < text.size();) {
        const size_t length = control_file::linePieceLength(text.data() + at, text.size() - at);
        const bool endsLine = text[at + length - 1] == '\n';
        if (!open)
            ++number;
        std::string piece = text.substr(at, endsLine ? length - 1 : length);
        piece.resize(std::strlen(piece.c_str()));
        lines.pieces.push_back({number, open, piece});
        open = !endsLine;
        at += length;
    }
    return lines;
}
