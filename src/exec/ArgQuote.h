// Quoting of program arguments for _spawnv, which joins its vector with blanks unquoted.
#pragma once

#include <string>
#include <vector>

// The form in which `arg` survives the C runtime's command-line split: an argument holding a
// blank or a tab and no double quote is wrapped in double quotes, with the backslashes right
// before the closing quote doubled; anything else (an empty argument or one that is already
// quoted) is passed unchanged.
std::string quoteArgument(const char* arg);

// The quoted forms of a null-terminated argument vector. Keep the result alive while the
// pointers of `quotedVector` are in use.
class QuotedArgs {
public:
    explicit QuotedArgs(const char* const* argv);
    // Null-terminated vector of the quoted arguments, as _spawnv takes it.
    const char* const* vector() const { return pointers_.data(); }

private:
    std::vector<std::string> args_;
    std::vector<const char*> pointers_;
};
