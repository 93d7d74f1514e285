// The checker's findings in the form compilers use, so that editors and CI annotate them:
// "qrv.control:7: error: ...", "install.jar: error: ..." for a whole file, and a last line
// "N errors, N warnings".
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class Report {
public:
    // `line` 0 names the whole file.
    void error(const std::string& file, unsigned line, const std::string& text);
    void warning(const std::string& file, unsigned line, const std::string& text);

    // Every finding as printed, in the order found.
    const std::vector<std::string>& lines() const { return lines_; }
    unsigned errors() const { return errors_; }
    unsigned warnings() const { return warnings_; }

    // The findings (errors only when `quiet`), then the count line.
    void print(std::FILE* out, bool quiet) const;

private:
    void add(const std::string& file, unsigned line, const char* kind, const std::string& text);

    std::vector<std::string> lines_;
    std::vector<bool> isError_;
    unsigned errors_ = 0;
    unsigned warnings_ = 0;
};
