// Fuzz target: an identity is the 128-bit id with its volume where a real id (not all zeros, not
// all ones) was read, else the index with its volume where a real index was read, else none;
// its hexadecimal digits read back give those very numbers.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "util/IdentityRules.h"

namespace {
bool real(const uint8_t* bytes, size_t size)
{
    return std::count(bytes, bytes + size, 0) != long(size) &&
           std::count(bytes, bytes + size, 0xFF) != long(size);
}

unsigned long long hex(const std::string& text, size_t at, size_t digits)
{
    return std::strtoull(text.substr(at, digits).c_str(), nullptr, 16);
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
    bool right = text.empty();
    if (facts.idRead && real(data + 9, 16)) {
        right = text.size() == 49 && text[16] == '-' && hex(text, 0, 16) == facts.idVolume;
        for (size_t i = 0; right && i < 16; ++i)  // the id's last byte first
            right = hex(text, 17 + 2 * i, 2) == facts.id[15 - i];
    } else if (facts.indexRead && real(data + 25, 8)) {
        right = text.size() == 25 && text[8] == '-' && hex(text, 0, 8) == facts.volume &&
                hex(text, 9, 16) == facts.index;
    }
    if (!right || text.find_first_not_of("0123456789ABCDEF-") != std::string::npos)
        std::abort();
    return 0;
}
