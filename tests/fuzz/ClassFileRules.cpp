// Fuzz target: any bytes as a class file's start, and as a version setting.
#include <cstdlib>
#include <string>

#include "check/ClassFileRules.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    unsigned major = 0;
    if (class_file::majorVersion(data, size, major) && major > 0xFFFF)
        std::abort();
    class_file::javaOfMajor(major);
    const std::vector<std::string> f = fuzz::fields(data, size, 1);
    if (class_file::javaOfVersion(f[0].c_str()) > class_file::MaxRelease)
        std::abort();
    return 0;
}
