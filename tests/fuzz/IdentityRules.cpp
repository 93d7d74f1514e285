// Fuzz target: an identity is the 128-bit id with its volume where a real id was read, else the
// index with its volume where a real index was read, else none; read back, its hexadecimal digits
// give those very numbers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "util/IdentityRules.h"

namespace {
// Not all zeros and not all ones.
bool real(const uint8_t* bytes, size_t size)
{
    size_t zeros = 0;
    size_t ones = 0;
    for (size_t i = 0; i < size; ++i) {
        zeros += bytes[i] == 0;
        ones += bytes[i] == 0xFF;
    }
    return zeros != size && ones != size;
}

// The number the upper-case hexadecimal digits text[at, at + digits) spell; ~0 for another letter.
unsigned long long hex(const std::string& text, size_t at, size_t digits)
{
    unsigned long long value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return ~0ULL;
        value = value * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'A' + 10);
    }
    return value;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 33)
        return 0;
    IdentityFacts facts{(data[0] & 1) != 0, 0, {}, (data[0] & 2) != 0, data[0], 0};
    std::memcpy(&facts.idVolume, data + 1, 8);
    std::memcpy(facts.id, data + 9, 16);
    std::memcpy(&facts.index, data + 25, 8);
    const std::string text = identityText(facts);
    bool right;
    if (facts.idRead && real(data + 9, 16)) {
        right = text.size() == 49 && text[16] == '-' && hex(text, 0, 16) == facts.idVolume;
        for (size_t i = 0; right && i < 16; ++i)  // the id's last byte first
            right = hex(text, 17 + 2 * i, 2) == facts.id[15 - i];
    } else if (facts.indexRead && real(data + 25, 8)) {
        right = text.size() == 25 && text[8] == '-' && hex(text, 0, 8) == facts.volume &&
                hex(text, 9, 16) == facts.index;
    } else {
        right = text.empty();
    }
    if (!right)
        std::abort();
    return 0;
}
