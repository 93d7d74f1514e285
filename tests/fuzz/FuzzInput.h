// Helpers of the fuzz targets: the input cut into text fields, and buffers of an exact size so
// that AddressSanitizer sees a write one past their end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace fuzz {

// The input as `count` texts: split at the first count-1 newlines, each cut at a NUL.
inline std::vector<std::string> fields(const uint8_t* data, size_t size, size_t count)
{
    std::vector<std::string> out;
    const std::string all(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        size_t end = i + 1 < count ? all.find('\n', start) : std::string::npos;
        if (end == std::string::npos)
            end = all.size();
        std::string field = start <= all.size() ? all.substr(start, end - start) : std::string();
        out.push_back(field.substr(0, field.find('\0')));
        start = end + 1;
    }
    return out;
}

// A heap buffer of exactly `capacity` bytes holding `text` (cut to fit).
class Buffer {
public:
    Buffer(size_t capacity, const std::string& text = std::string())
        : data_(new char[capacity]), capacity_(capacity)
    {
        const size_t length = text.size() < capacity ? text.size() : capacity - 1;
        std::memcpy(data_.get(), text.data(), length);
        data_[length] = '\0';
    }
    char* get() { return data_.get(); }
    size_t capacity() const { return capacity_; }
    size_t length() const { return std::strlen(data_.get()); }

private:
    std::unique_ptr<char[]> data_;
    size_t capacity_;
};

} // namespace fuzz
