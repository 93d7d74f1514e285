// Fuzz target: any bytes as a file's text; cuts at every limit and UTF-16 decoding in both orders.
#include <cstdlib>
#include <string>

#include "util/Utf8.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const bool valid = utf8::isValid(text, size);
    for (size_t limit = 0; limit <= size; ++limit) {
        const size_t cut = utf8::cutPoint(text, size, limit);
        if (cut > limit || limit - cut > 3)
            std::abort();
        if (valid && !utf8::isValid(text, cut))
            std::abort();  // a cut of valid text left half a character
    }
    for (bool bigEndian : {false, true}) {
        const std::string decoded = utf8::fromUtf16(text, size, bigEndian);
        if (!utf8::isValid(decoded.data(), decoded.size()))
            std::abort();
    }
    fuzz::Buffer line(size + 1, std::string(text, size));
    utf8::trimCutLine(line.get(), line.capacity());
    utf8::detect(text, size);
    return 0;
}
