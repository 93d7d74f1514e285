// UTF-8 text: where a cut may fall without splitting a character, whether bytes are valid UTF-8,
// UTF-16 turned into it, and which encoding a file's bytes are in.
#pragma once

#include <cstddef>
#include <string>

namespace utf8 {

// `length` made shorter, when needed, so that the text does not end in the first bytes of a
// character whose remaining bytes are missing.
size_t completeLength(const char* text, size_t length);

// Where to cut `text` (of `length` bytes) to keep at most `limit` bytes: `limit` moved back to
// the start of the character it would split (a cut splits one when the byte after it continues
// a character begun before it); `length` when the whole text fits.
size_t cutPoint(const char* text, size_t length, size_t limit);

// A line read into a full buffer of `capacity` bytes without reaching its line end loses the
// start of a character split by the read; other lines stay as they are.
void trimCutLine(char* line, size_t capacity);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF); pure ASCII is.
bool isValid(const char* text, size_t length);

// UTF-16 code units (two bytes each, in the order given) as UTF-8; an unpaired surrogate and an
// odd last byte become U+FFFD.
std::string fromUtf16(const char* bytes, size_t length, bool bigEndian);

enum class Encoding { Utf8, Utf8Mark, Utf16Le, Utf16Be, Legacy };

// The encoding of a file's bytes: a byte-order mark decides; without one, UTF-8 when the bytes
// are valid UTF-8, else text of a legacy code page.
Encoding detect(const char* bytes, size_t length);

// The length of the byte-order mark that `encoding` begins with (0 for none).
size_t markLength(Encoding encoding);

} // namespace utf8
