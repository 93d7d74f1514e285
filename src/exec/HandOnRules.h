// The rule that decides in which form a path reaches another program: programs without the
// UTF-8 setting (a JVM, the expander, a vendor's installer) decode their command lines and the
// files they are handed through the system's legacy code page, and lose every character that
// code page lacks. No system calls: the caller supplies what the system says about the path.
#pragma once

#include <functional>
#include <string>

namespace hand_on {

enum class Form {
    Whole,      // the path as it is: the child's code page holds it
    BlankFree,  // its short name, taken because it has no blank where the path has one
    ShortName,  // its short (8.3) name, taken because the code page lacks the path's letters
    Relative,   // relative to the child's working directory
    None,       // no form the child can read
};

// What the system says about a path: whether the child's code page holds a text exactly, and
// a path's short name (empty when it has none).
struct PathFacts {
    std::function<bool(const std::string&)> fits;
    std::function<std::string(const std::string&)> shortName;
};

struct Choice {
    Form form = Form::None;
    std::string text;  // the form handed on; empty for Form::None
};

// `path` relative to `workDir`: "." for the directory itself, the rest after "workDir\" for a
// path below it (letters compared without regard to ASCII case); empty when it is neither.
std::string relativeTo(const std::string& path, const std::string& workDir);

// The first form of `path` the child can read: the path itself, its short name, its form
// relative to `workDir` (none when `workDir` is empty), in that order. With `avoidBlanks` (a
// program that has always been started by a name without blanks) a path holding a blank goes
// by its short name first, where that has none.
Choice choose(const std::string& path, const std::string& workDir, const PathFacts& facts,
              bool avoidBlanks = false);

} // namespace hand_on
