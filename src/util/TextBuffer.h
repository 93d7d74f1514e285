// A NUL-terminated 8-bit text in a heap buffer of fixed capacity, with bounded writes only.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <memory>

// Copies `source` into `dest` (capacity `capacity`, NUL included), cutting what does not fit;
// a cut never splits a UTF-8 character (its first bytes go with the rest).
// Returns false when the text was cut. A null source gives the empty string.
bool copyText(char* dest, size_t capacity, const char* source);

// Appends `source` to the text in `dest`, cutting what does not fit; false when cut.
bool appendText(char* dest, size_t capacity, const char* source);

// snprintf into `dest`; false when the result was cut or the format failed.
bool formatText(char* dest, size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

class TextBuffer {
public:
    explicit TextBuffer(size_t capacity);
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    char* data() { return data_.get(); }
    const char* c_str() const { return data_.get(); }
    size_t capacity() const { return capacity_; }
    bool empty() const { return data_[0] == '\0'; }
    void clear() { data_[0] = '\0'; }
    // Bounded copy; false when `text` was cut.
    bool set(const char* text) { return copyText(data_.get(), capacity_, text); }
    bool append(const char* text) { return appendText(data_.get(), capacity_, text); }
    bool format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    operator char*() { return data_.get(); }
    operator const char*() const { return data_.get(); }

private:
    std::unique_ptr<char[]> data_;
    size_t capacity_;
};
