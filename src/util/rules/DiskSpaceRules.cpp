#include "util/DiskSpaceRules.h"

#include <cstdio>

#include "util/AsciiCase.h"

std::string spaceText(unsigned long long bytes)
{
    char text[64];
    if (bytes < 1024) {
        std::snprintf(text, sizeof text, "%llu bytes", bytes);
        return text;
    }
    if (bytes < 1024ull * 1024) {
        std::snprintf(text, sizeof text, "%llu KB", bytes / 1024);
        return text;
    }
    static const char* const units[] = {"MB", "GB", "TB", "PB", "EB"};
    // Tenths of the unit, cut rather than rounded: never more space than there is.
    unsigned long long tenths = bytes * 10 / (1024ull * 1024);
    if (bytes > ~0ull / 10)
        tenths = bytes / (1024ull * 1024) * 10;
    size_t unit = 0;
    while (tenths >= 10240 && unit + 1 < sizeof units / sizeof units[0]) {
        tenths /= 1024;
        ++unit;
    }
    std::snprintf(text, sizeof text, "%llu.%llu %s", tenths / 10, tenths % 10, units[unit]);
    return text;
}

std::string freeSpaceText(const std::vector<VolumeSpace>& volumes)
{
    std::string line = "free space:";
    std::vector<std::string> seen;
    for (const VolumeSpace& volume : volumes) {
        const std::string key = lowerAscii(volume.root.c_str());
        bool again = false;
        for (const std::string& root : seen)
            again = again || root == key;
        if (again || key.empty())
            continue;
        line += (seen.empty() ? " " : ", ") + volume.root + " " +
                (volume.known ? spaceText(volume.freeBytes) : "unknown");
        seen.push_back(key);
    }
    return line;
}

std::string diskFullText(const std::string& folder)
{
    return "The disk of " + folder + " is full.";
}
