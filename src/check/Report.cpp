#include "check/Report.h"

void Report::error(const std::string& file, unsigned line, const std::string& text)
{
    add(file, line, "error", text);
    ++errors_;
}

void Report::warning(const std::string& file, unsigned line, const std::string& text)
{
    add(file, line, "warning", text);
    ++warnings_;
}

void Report::add(const std::string& file, unsigned line, const char* kind,
                 const std::string& text)
{
    std::string where = file;
    if (line > 0)
        where += ":" + std::to_string(line);
    lines_.push_back(where + ": " + kind + ": " + text);
    isError_.push_back(*kind == 'e');
}

void Report::print(std::FILE* out, bool quiet) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (!quiet || isError_[i])
            std::fprintf(out, "%s\n", lines_[i].c_str());
    }
    std::fprintf(out, "%u errors, %u warnings\n", errors_, warnings_);
}
