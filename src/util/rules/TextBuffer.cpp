#include "util/TextBuffer.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "util/Utf8.h"

bool copyText(char* dest, size_t capacity, const char* source)
{
    if (dest == nullptr || capacity == 0)
        return source == nullptr || *source == '\0';
    if (source == nullptr) {
        dest[0] = '\0';
        return true;
    }
    const size_t length = std::strlen(source);
    const size_t kept = utf8::cutPoint(source, length, capacity - 1);
    std::memmove(dest, source, kept);
    dest[kept] = '\0';
    return kept == length;
}

bool appendText(char* dest, size_t capacity, const char* source)
{
    if (dest == nullptr || capacity == 0)
        return source == nullptr || *source == '\0';
    const size_t used = strnlen(dest, capacity - 1);
    return copyText(dest + used, capacity - used, source);
}

static bool vformatText(char* dest, size_t capacity, const char* format, va_list args)
{
    if (dest == nullptr || capacity == 0)
        return false;
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(dest, capacity, format, args);
    if (n >= 0 && static_cast<size_t>(n) >= capacity) {
        // Cut: formatted whole once more, so that the cut can see the character it falls in.
        std::vector<char> whole(static_cast<size_t>(n) + 1);
        std::vsnprintf(whole.data(), whole.size(), format, again);
        copyText(dest, capacity, whole.data());
    }
    va_end(again);
    if (n < 0) {
        dest[0] = '\0';
        return false;
    }
    return static_cast<size_t>(n) < capacity;
}

bool formatText(char* dest, size_t capacity, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const bool ok = vformatText(dest, capacity, format, args);
    va_end(args);
    return ok;
}

TextBuffer::TextBuffer(size_t capacity)
    : data_(new char[capacity > 0 ? capacity : 1]), capacity_(capacity > 0 ? capacity : 1)
{
    data_[0] = '\0';
}

bool TextBuffer::format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const bool ok = vformatText(data_.get(), capacity_, format, args);
    va_end(args);
    return ok;
}
