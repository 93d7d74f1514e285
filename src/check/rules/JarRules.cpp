#include "check/JarRules.h"

namespace jar {

namespace {

constexpr size_t EndLength = 22;
constexpr size_t LocatorLength = 20;
constexpr size_t Zip64EndLength = 56;
constexpr size_t EntryLength = 46;
constexpr const char* NoZip = "no zip file (no end of central directory)";

uint64_t little(const unsigned char* bytes, size_t count)
{
    uint64_t value = 0;
    for (size_t i = count; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

bool signature(const unsigned char* bytes, unsigned char third, unsigned char fourth)
{
    return bytes[0] == 'P' && bytes[1] == 'K' && bytes[2] == third && bytes[3] == fourth;
}

// The end record's position in `tail`: the last signature whose comment fits the bytes after
// it; false when there is none.
bool findEnd(const unsigned char* tail, size_t tailSize, size_t& position)
{
    if (tailSize < EndLength)
        return false;
    for (size_t at = tailSize - EndLength + 1; at-- > 0;) {
        if (signature(tail + at, 5, 6) && little(tail + at + 20, 2) <= tailSize - at - EndLength) {
            position = at;
            return true;
        }
        if (tailSize - at >= EndLength + 65535)
            break;
    }
    return false;
}

// The zip64 end record named by the locator before the end record at `end`; false when the
// locator or the record is not whole in `tail`.
bool readZip64(const unsigned char* tail, size_t end, uint64_t tailStart, Directory& directory,
               uint64_t& recordStart)
{
    if (end < LocatorLength || !signature(tail + end - LocatorLength, 6, 7))
        return false;
    const uint64_t record = little(tail + end - LocatorLength + 8, 8);
    if (record < tailStart || record - tailStart > end - LocatorLength ||
        end - LocatorLength - (record - tailStart) < Zip64EndLength)
        return false;
    const unsigned char* bytes = tail + (record - tailStart);
    if (!signature(bytes, 6, 6))
        return false;
    directory.entries = little(bytes + 32, 8);
    directory.size = little(bytes + 40, 8);
    directory.offset = little(bytes + 48, 8);
    recordStart = record;
    return true;
}

} // namespace

const char* findDirectory(const unsigned char* tail, size_t tailSize, uint64_t fileSize,
                          Directory& directory)
{
    size_t end = 0;
    if (tailSize > fileSize || !findEnd(tail, tailSize, end))
        return NoZip;
    const uint64_t tailStart = fileSize - tailSize;
    const unsigned char* record = tail + end;
    directory.entries = little(record + 10, 2);
    directory.size = little(record + 12, 4);
    directory.offset = little(record + 16, 4);
    // The central directory ends where the record after it begins.
    uint64_t limit = tailStart + end;
    if (directory.entries == 0xFFFF || directory.size == 0xFFFFFFFF ||
        directory.offset == 0xFFFFFFFF) {
        if (!readZip64(tail, end, tailStart, directory, limit))
            return NoZip;
    }
    if (directory.size > limit || directory.offset > limit - directory.size)
        return "central directory outside the file";
    if (directory.size > MaxDirectorySize)
        return "central directory too large";
    return nullptr;
}

const char* directoryNames(const unsigned char* bytes, size_t size, uint64_t entries,
                           std::vector<std::string>& names)
{
    size_t at = 0;
    for (uint64_t i = 0; i < entries; ++i) {
        if (size - at < EntryLength || !signature(bytes + at, 1, 2))
            return "central directory entry past its end";
        const size_t nameLength = static_cast<size_t>(little(bytes + at + 28, 2));
        const size_t rest = nameLength + static_cast<size_t>(little(bytes + at + 30, 2)) +
                            static_cast<size_t>(little(bytes + at + 32, 2));
        if (size - at - EntryLength < rest)
            return "central directory entry past its end";
        names.emplace_back(reinterpret_cast<const char*>(bytes + at + EntryLength), nameLength);
        at += EntryLength + rest;
    }
    return nullptr;
}

std::string classEntryName(const std::string& className)
{
    std::string entry = className;
    for (char& c : entry) {
        if (c == '.')
            c = '/';
    }
    return entry + ".class";
}

} // namespace jar
