#include "support/LogCheck.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestSupport.h"

namespace qrvtest {

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool traced(const std::string& line, const std::string& log)
{
    return contains(logMessages(log), line);
}

bool logged(const std::string& line, const std::string& log)
{
    return contains(logMessages(log), line);
}

void expectTraced(const std::vector<std::string>& lines, const std::vector<std::string>& expected)
{
    auto at = lines.begin();
    for (const std::string& line : expected) {
        at = std::find(at, lines.end(), line);
        if (at == lines.end()) {
            std::string shown;
            for (const std::string& each : lines)
                shown += "  " + each + "\n";
            ADD_FAILURE() << "missing, or out of order: \"" << line << "\"\nin:\n" << shown;
            return;
        }
        ++at;
    }
}

} // namespace qrvtest
