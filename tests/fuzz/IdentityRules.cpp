// Fuzz target: whatever a system tells, an identity of one of two lengths, or none.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "util/IdentityRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 33)
        return 0;
    IdentityFacts facts{(data[0] & 1) != 0, 0, {}, (data[0] & 2) != 0, data[0], 0};
    std::memcpy(&facts.idVolume, data + 1, 8);
    std::memcpy(facts.id, data + 9, 16);
    std::memcpy(&facts.index, data + 25, 8);
    const size_t length = identityText(facts).size();
    if (length != 0 && length != 25 && length != 49)
        std::abort();
    return 0;
}
