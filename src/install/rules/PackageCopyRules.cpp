#include "install/PackageCopyRules.h"

#include <string>

namespace {
constexpr unsigned long long Margin = 16ull << 20;

bool below(const std::string& name, const std::string& folder)
{
    return name.size() > folder.size() && name[folder.size()] == '\\' &&
           name.compare(0, folder.size(), folder) == 0;
}
} // namespace

PackageCopyPlan planPackageCopy(const std::vector<TreeEntry>& listing)
{
    PackageCopyPlan plan;
    std::vector<std::string> links;
    for (size_t i = 0; i < listing.size(); ++i) {
        const TreeEntry& entry = listing[i];
        bool underLink = false;
        for (const std::string& link : links)
            underLink = underLink || below(entry.name, link);
        if (underLink || (entry.attributes & tree_attributes::ReparsePoint)) {
            if (!underLink)
                links.push_back(entry.name);
            plan.skipped.push_back(i);
            continue;
        }
        plan.copied.push_back(i);
        if (!(entry.attributes & tree_attributes::Directory)) {
            const unsigned long long room = ~0ull - plan.bytes;
            plan.bytes += entry.size < room ? entry.size : room;
        }
    }
    return plan;
}

unsigned long long packageCopySpace(unsigned long long bytes)
{
    const unsigned long long most = ~0ull;
    const unsigned long long tenth = bytes / 10 + (bytes % 10 != 0 ? 1 : 0);
    if (bytes > most - tenth || bytes + tenth > most - Margin)
        return most;
    return bytes + tenth + Margin;
}
