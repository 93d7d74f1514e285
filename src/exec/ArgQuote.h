// Quoting of program arguments for _spawnv, which joins its vector with blanks unquoted: the
// one place that writes an argument in the form the C runtime's command-line split undoes.
#pragma once

#include <string>
#include <vector>

// `text` as one command-line argument that the C runtime splits back into exactly `text`: in
// double quotes, each inner double quote escaped by a backslash, the backslashes before a
// double quote (an inner one or the closing one) doubled.
std::string commandLineQuoted(const char* text);

// The form in which `arg` goes into a program start: an argument holding a blank or a tab and
// no double quote is quoted as above; anything else (an empty argument, or one that holds a
// double quote and so is taken as quoted already) is passed unchanged.
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
