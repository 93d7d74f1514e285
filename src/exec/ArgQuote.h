// Quoting of program arguments: the one place that writes an argument, and a whole argument
// vector as a command line, in the form the C runtime's command-line split undoes.
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

// The command line of a program start: every argument in its quoteArgument form, joined by
// single blanks (an empty argument leaves a doubled blank and vanishes, as it always did).
std::string commandLineOf(const char* const* argv);
std::string commandLineOf(const std::vector<std::string>& args);
