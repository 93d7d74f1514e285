// Fuzz target: the copy plan of arbitrary listings: every entry is either copied or skipped,
// once, in order, and the space asked for never falls below the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "install/PackageCopyRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<TreeEntry> listing;
    for (size_t at = 0; at + 2 <= size && listing.size() < 64;) {
        const size_t length = data[at] % 8;
        const unsigned long attributes = data[at + 1];
        at += 2;
        const size_t take = length < size - at ? length : size - at;
        std::string name(reinterpret_cast<const char*>(data + at), take);
        at += take;
        listing.push_back({name, static_cast<unsigned long long>(attributes) << 40,
                           (attributes & 1) * 0x400ul | (attributes & 2) * 0x8ul});
    }
    const PackageCopyPlan plan = planPackageCopy(listing);
    if (plan.copied.size() + plan.skipped.size() != listing.size())
        std::abort();
    for (size_t i = 1; i < plan.copied.size(); ++i)
        if (plan.copied[i] <= plan.copied[i - 1])
            std::abort();
    for (size_t index : plan.skipped)
        if (index >= listing.size())
            std::abort();
    if (packageCopySpace(plan.bytes) < plan.bytes)
        std::abort();
    return 0;
}
