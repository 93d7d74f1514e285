// Text rules of a class file's version and of the Java release a version setting names: which
// JVMs can load the package's test class. Pure functions on bytes and text.
#pragma once

#include <cstddef>

namespace class_file {

// The major version of a class file's first bytes (0xCAFEBABE, the minor version, the major
// version, big-endian); false for fewer than 8 bytes or another start.
bool majorVersion(const unsigned char* bytes, size_t size, unsigned& major);

// The Java release that first loads class files of `major`: major - 44 (45, the version of
// Java 1.0 and 1.1, gives 1); 0 below 45.
unsigned javaOfMajor(unsigned major);

// The Java release a version setting begins with: "1.8.0_392" gives 8, "11.0.2" 11, "1" 1;
// 0 when it does not begin with a number. Numbers are capped at MaxRelease.
constexpr unsigned MaxRelease = 100000;
unsigned javaOfVersion(const char* version);

} // namespace class_file
