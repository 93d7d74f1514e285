#include "check/ClassFileRules.h"

namespace class_file {

namespace {

// The decimal number at the start of `text` (capped), and where it ends; 0 digits: no number.
unsigned leadingNumber(const char*& text, bool& found)
{
    unsigned value = 0;
    found = false;
    for (; *text >= '0' && *text <= '9'; ++text) {
        found = true;
        value = value * 10 + static_cast<unsigned>(*text - '0');
        if (value > MaxRelease)
            value = MaxRelease;
    }
    return value;
}

} // namespace

bool majorVersion(const unsigned char* bytes, size_t size, unsigned& major)
{
    if (size < 8 || bytes[0] != 0xCA || bytes[1] != 0xFE || bytes[2] != 0xBA || bytes[3] != 0xBE)
        return false;
    major = static_cast<unsigned>(bytes[6]) << 8 | bytes[7];
    return true;
}

unsigned javaOfMajor(unsigned major)
{
    return major < 45 ? 0 : major - 44;
}

unsigned javaOfVersion(const char* version)
{
    bool found = false;
    const unsigned first = leadingNumber(version, found);
    if (!found)
        return 0;
    // The releases before 9 are named 1.x.
    if (first == 1 && *version == '.') {
        const char* rest = version + 1;
        const unsigned second = leadingNumber(rest, found);
        if (found)
            return second < 1 ? 1 : second;  // 1.0 and 1.1 share one class-file version
    }
    return first;
}

} // namespace class_file
