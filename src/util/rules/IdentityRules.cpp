#include "util/IdentityRules.h"

#include <cstdio>

namespace {

// An id of only zeros or only ones tells nothing: a system without ids reports one of them.
bool realId(const unsigned char* id, size_t size)
{
    bool zero = true;
    bool ones = true;
    for (size_t i = 0; i < size; ++i) {
        zero = zero && id[i] == 0;
        ones = ones && id[i] == 0xFF;
    }
    return !zero && !ones;
}

} // namespace

std::string identityText(const IdentityFacts& facts)
{
    char text[64];
    if (facts.idRead && realId(facts.id, sizeof facts.id)) {
        int used = std::snprintf(text, sizeof text, "%016llX-", facts.idVolume);
        for (size_t i = sizeof facts.id; i-- > 0 && used > 0;)
            used += std::snprintf(text + used, sizeof text - used, "%02X", facts.id[i]);
        return text;
    }
    unsigned char index[8];
    for (size_t i = 0; i < sizeof index; ++i)
        index[i] = static_cast<unsigned char>(facts.index >> (8 * i));
    if (!facts.indexRead || !realId(index, sizeof index))
        return std::string();
    std::snprintf(text, sizeof text, "%08lX-%016llX", facts.volume, facts.index);
    return text;
}

bool sameIdentity(const IdentityFacts& one, const IdentityFacts& other)
{
    const std::string text = identityText(one);
    return !text.empty() && text == identityText(other);
}
