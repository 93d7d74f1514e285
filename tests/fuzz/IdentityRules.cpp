// Fuzz target: any facts a system may tell give an identity of one of two lengths, or none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "util/IdentityRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    IdentityFacts facts;
    if (size < 34)
        return 0;
    facts.idRead = data[0] & 1;
    facts.indexRead = data[0] & 2;
    std::memcpy(&facts.idVolume, data + 1, 8);
    std::memcpy(facts.id, data + 9, 16);
    std::memcpy(&facts.index, data + 25, 8);
    facts.volume = data[33];
    const size_t length = identityText(facts).size();
    if (length != 0 && length != 25 && length != 49)
        std::abort();
    return 0;
}
