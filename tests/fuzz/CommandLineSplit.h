// The C runtime's split of a command line into arguments (backslashes are literal unless they
// precede a double quote), shared by the fuzz targets that check quoting round-trips.
#pragma once

#include <string>
#include <vector>

namespace fuzz {

inline std::vector<std::string> splitCommandLine(const std::string& line)
{
    std::vector<std::string> args;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            break;
        std::string arg;
        bool inQuotes = false;
        while (i < line.size() && (inQuotes || (line[i] != ' ' && line[i] != '\t'))) {
            size_t slashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++slashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                arg.append(slashes / 2, '\\');
                if (slashes % 2 == 1)
                    arg += '"';
                else
                    inQuotes = !inQuotes;
                ++i;
            } else {
                arg.append(slashes, '\\');
                if (i < line.size() && (inQuotes || (line[i] != ' ' && line[i] != '\t')))
                    arg += line[i++];
            }
        }
        args.push_back(arg);
    }
    return args;
}

} // namespace fuzz
