// Case folding of the ASCII letters only, as the C locale does it; bytes above 127 stay as they
// are. The one copy that the launcher, its rules and the cleanup program share.
#pragma once

#include <string>

char lowerAsciiChar(char c);
// Lower-cases `text` in place; null is ignored.
void lowerAsciiInPlace(char* text);
// A lower-cased copy of `text`; null gives the empty string.
std::string lowerAscii(const char* text);
inline std::string lowerAscii(const std::string& text) { return lowerAscii(text.c_str()); }
// True when both texts are equal once lower-cased.
bool equalsAsciiNoCase(const char* a, const char* b);
