// Checks of the launcher's logs (jinstall.log, errors.log) by their messages, the time stamps
// left out: one line looked up, or several lines in their order.
#pragma once

#include <string>
#include <vector>

namespace qrvtest {

// Whether `lines` holds `line` as a whole line.
bool contains(const std::vector<std::string>& lines, const std::string& line);
// Whether the trace log `log` holds the message `line`; false when there is no such file.
bool traced(const std::string& line, const std::string& log = "jinstall.log");
// The same for the error log.
bool logged(const std::string& line, const std::string& log = "errors.log");
// Fails the running test unless `lines` holds all of `expected` in this order, other lines
// between them allowed; the failure names the first line missing and shows `lines`.
void expectTraced(const std::vector<std::string>& lines, const std::vector<std::string>& expected);

} // namespace qrvtest
