#include "jvm/discovery/JvmSearch.h"

#include <windows.h>

#include <algorithm>

#include "jvm/discovery/JvmSourceRules.h"
#include "util/AsciiCase.h"
#include "util/Capacity.h"
#include "util/TextBuffer.h"

JvmSearch* JvmSearch::current_ = nullptr;

namespace {

// The home as the file system names it, for telling two spellings of one directory apart.
std::string resolvedHome(const std::string& home)
{
    TextBuffer full(PathCapacity);
    const DWORD fullLength = GetFullPathNameA(home.c_str(), PathCapacity, full, nullptr);
    if (fullLength == 0 || fullLength >= PathCapacity)
        full.set(home.c_str());
    TextBuffer longName(PathCapacity);
    const DWORD longLength = GetLongPathNameA(full, longName, PathCapacity);
    const char* resolved = longLength > 0 && longLength < PathCapacity ? longName.c_str()
                                                                        : full.c_str();
    return lowerAscii(source_rules::cleanHome(resolved));
}

} // namespace

bool JvmSearch::firstTry(const std::string& home)
{
    const std::string resolved = resolvedHome(home);
    if (std::find(triedHomes.begin(), triedHomes.end(), resolved) != triedHomes.end())
        return false;
    triedHomes.push_back(resolved);
    return true;
}

void JvmSearch::reject(const std::string& home, const std::string& version, const char* reason)
{
    rejected.push_back({home, version, reason});
}

std::vector<std::string> JvmSearch::rejectionLines(size_t limit) const
{
    std::vector<std::string> lines;
    for (size_t i = 0; i < rejected.size() && i < limit; ++i) {
        const Rejection& entry = rejected[i];
        const std::string version = entry.version.empty() ? "" : " (" + entry.version + ")";
        lines.push_back(entry.home + version + ": " + entry.reason);
    }
    return lines;
}
