#include "util/Utf8.h"

#include <cstring>

namespace utf8 {

namespace {

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The number of bytes of the character that lead byte `c` begins; 0 for a byte that begins none.
size_t sequenceLength(unsigned char c)
{
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 0;
}

void append(std::string& out, unsigned long code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

constexpr unsigned long Replacement = 0xFFFD;

} // namespace

size_t completeLength(const char* text, size_t length)
{
    // A character has at most four bytes: its lead lies within the last three.
    for (size_t back = 1; back <= 3 && back <= length; ++back) {
        const auto c = static_cast<unsigned char>(text[length - back]);
        if (isContinuation(c))
            continue;
        return sequenceLength(c) > back ? length - back : length;
    }
    return length;
}

size_t cutPoint(const char* text, size_t length, size_t limit)
{
    if (limit >= length)
        return length;
    if (!isContinuation(static_cast<unsigned char>(text[limit])))
        return limit;
    return completeLength(text, limit);
}

void trimCutLine(char* line, size_t capacity)
{
    const size_t length = std::strlen(line);
    if (capacity == 0 || length + 1 < capacity || (length > 0 && line[length - 1] == '\n'))
        return;
    line[completeLength(line, length)] = '\0';
}

bool isValid(const char* text, size_t length)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < length;) {
        const size_t n = sequenceLength(p[i]);
        if (n == 0 || i + n > length)
            return false;
        for (size_t k = 1; k < n; ++k) {
            if (!isContinuation(p[i + k]))
                return false;
        }
        // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
        if ((p[i] == 0xE0 && p[i + 1] < 0xA0) || (p[i] == 0xED && p[i + 1] > 0x9F) ||
            (p[i] == 0xF0 && p[i + 1] < 0x90) || (p[i] == 0xF4 && p[i + 1] > 0x8F))
            return false;
        i += n;
    }
    return true;
}

std::string fromUtf16(const char* bytes, size_t length, bool bigEndian)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    auto unit = [&](size_t i) -> unsigned long {
        return bigEndian ? (p[i] << 8 | p[i + 1]) : (p[i + 1] << 8 | p[i]);
    };
    std::string out;
    out.reserve(length);
    size_t i = 0;
    for (; i + 1 < length; i += 2) {
        const unsigned long code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < length) {
            const unsigned long low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                append(out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        append(out, code >= 0xD800 && code <= 0xDFFF ? Replacement : code);
    }
    if (i < length)
        append(out, Replacement);
    return out;
}

Encoding detect(const char* bytes, size_t length)
{
    if (length >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0)
        return Encoding::Utf8Mark;
    if (length >= 2 && std::memcmp(bytes, "\xFF\xFE", 2) == 0)
        return Encoding::Utf16Le;
    if (length >= 2 && std::memcmp(bytes, "\xFE\xFF", 2) == 0)
        return Encoding::Utf16Be;
    return isValid(bytes, length) ? Encoding::Utf8 : Encoding::Legacy;
}

size_t markLength(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8Mark:
        return 3;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return 2;
    default:
        return 0;
    }
}

} // namespace utf8
