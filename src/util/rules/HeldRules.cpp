#include "util/HeldRules.h"

namespace {

constexpr unsigned long Schedule[] = {50, 100, 200, 400, 800, 1600, 1850};
constexpr int ScheduleLength = static_cast<int>(sizeof Schedule / sizeof Schedule[0]);
constexpr size_t MaxHolders = 4;
constexpr size_t MaxHolderName = 80;

bool refusesEntry(FileAction action)
{
    return action == FileAction::Delete || action == FileAction::Rename ||
           action == FileAction::RemoveDir;
}

// A holder's name fit for one log line.
std::string cleanHolder(const std::string& holder)
{
    std::string clean = holder.substr(0, MaxHolderName);
    for (char& c : clean) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    return clean;
}

} // namespace

bool heldVerdictNeedsEntry(unsigned long error, FileAction action)
{
    return error == AccessDenied && refusesEntry(action);
}

bool heldFailure(unsigned long error, FileAction action, bool plainEntry)
{
    if (error == SharingViolation || error == LockViolation || error == UserMappedFile)
        return true;
    return heldVerdictNeedsEntry(error, action) && plainEntry;
}

unsigned long heldWaitMs(int retry, unsigned long spentMs)
{
    if (retry < 0 || retry >= ScheduleLength || spentMs >= HeldBudgetMs)
        return 0;
    const unsigned long left = HeldBudgetMs - spentMs;
    return Schedule[retry] < left ? Schedule[retry] : left;
}

std::string shownFileName(const std::string& name)
{
    if (name.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\\\" + name.substr(8);
    if (name.compare(0, 4, "\\\\?\\") == 0)
        return name.substr(4);
    return name;
}

std::string heldWaitLine(const std::string& name)
{
    return "waiting for " + shownFileName(name) + ": held by another program";
}

std::string heldFileLine(const std::string& name, const std::vector<std::string>& holders)
{
    std::string line = shownFileName(name) + ": held by another program";
    std::string names;
    size_t named = 0;
    for (const std::string& holder : holders) {
        const std::string clean = cleanHolder(holder);
        if (clean.empty())
            continue;
        if (named == MaxHolders) {
            names += ", ...";
            break;
        }
        names += (named++ == 0 ? "" : ", ") + clean;
    }
    return names.empty() ? line : line + " (" + names + ")";
}
