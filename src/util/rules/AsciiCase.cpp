#include "util/AsciiCase.h"

char lowerAsciiChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void lowerAsciiInPlace(char* text)
{
    for (; text != nullptr && *text != '\0'; ++text)
        *text = lowerAsciiChar(*text);
}

std::string lowerAscii(const char* text)
{
    std::string lower = text != nullptr ? text : "";
    for (char& c : lower)
        c = lowerAsciiChar(c);
    return lower;
}

bool equalsAsciiNoCase(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (lowerAsciiChar(*a) != lowerAsciiChar(*b))
            return false;
    }
    return *a == *b;
}
