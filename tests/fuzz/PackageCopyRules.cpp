// Fuzz target: the copy plan: every entry copied or skipped, copies in order, space >= bytes.
#include <cstdlib>
#include <algorithm>

#include "FuzzInput.h"
#include "install/PackageCopyRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<TreeEntry> listing;
    for (size_t at = 0; at + 2 <= size; at += 2 + data[at] % 8) {
        const unsigned long bits = data[at + 1];
        listing.push_back({std::string(reinterpret_cast<const char*>(data + at + 2),
                                       std::min<size_t>(data[at] % 8, size - at - 2)),
                           uint64_t{bits} << 40, (bits & 1) * 0x400ul | (bits & 0x10)});
    }
    const PackageCopyPlan plan = planPackageCopy(listing);
    bool sound = plan.copied.size() + plan.skipped.size() == listing.size() &&
                 packageCopySpace(plan.bytes) >= plan.bytes;
    for (size_t i = 1; i < plan.copied.size(); ++i)
        sound = sound && plan.copied[i - 1] < plan.copied[i];
    if (!sound)
        std::abort();
    return 0;
}
