// A zip file's bytes made in memory for the checker's tests: a local header and a central
// directory entry per name (no data), the end record, and an optional comment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ziptest {

inline void put(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string zipOf(const std::vector<std::string>& names, const std::string& comment = "")
{
    std::string out;
    std::vector<uint64_t> offsets;
    for (const std::string& name : names) {
        offsets.push_back(out.size());
        out += "PK\x03\x04";
        out += std::string(22, '\0');
        put(out, name.size(), 2);
        put(out, 0, 2);
        out += name;
    }
    const uint64_t directory = out.size();
    for (size_t i = 0; i < names.size(); ++i) {
        out += "PK\x01\x02";
        out += std::string(24, '\0');
        put(out, names[i].size(), 2);
        out += std::string(12, '\0');  // extra and comment lengths, disk, attributes
        put(out, offsets[i], 4);
        out += names[i];
    }
    const uint64_t size = out.size() - directory;
    out += "PK\x05\x06";
    put(out, 0, 4);
    put(out, names.size(), 2);
    put(out, names.size(), 2);
    put(out, size, 4);
    put(out, directory, 4);
    put(out, comment.size(), 2);
    return out + comment;
}

} // namespace ziptest
