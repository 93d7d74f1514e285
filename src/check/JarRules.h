// Text rules of a jar's (a zip file's) central directory: where it lies, the names of its
// entries, and the entry of a class. A jar comes with the package and is hostile input: every
// offset and length is checked against the bytes at hand before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jar {

// The end record (22 bytes and a comment of up to 65535), the zip64 locator (20) and the zip64
// end record (56): a file's last bytes that hold them.
constexpr size_t TailLength = 22 + 65535 + 20 + 56;
// The largest central directory read.
constexpr uint64_t MaxDirectorySize = 64u << 20;

struct Directory {
    uint64_t offset = 0;   // from the file's start
    uint64_t size = 0;     // in bytes
    uint64_t entries = 0;  // as the end record counts them
};

// Finds the central directory from the file's last `tailSize` bytes (`tail`: the whole file
// when it is shorter than TailLength) and the file's size. Null when found; else why not, as a
// message: "no zip file (no end of central directory)", "central directory outside the file",
// "central directory too large".
const char* findDirectory(const unsigned char* tail, size_t tailSize, uint64_t fileSize,
                          Directory& directory);

// The names of the entries of a central directory's bytes, at most `entries`; null when every
// entry lies whole in them, else "central directory entry past its end".
const char* directoryNames(const unsigned char* bytes, size_t size, uint64_t entries,
                           std::vector<std::string>& names);

// The entry that holds a class: "com.example.Wizard" gives "com/example/Wizard.class".
std::string classEntryName(const std::string& className);

} // namespace jar
