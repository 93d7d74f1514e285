// Fuzz target: any text as a resolved full path; no long path ever reaches the system in its
// plain form, and the long form names the same path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/LongPathRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each byte as one character, so that a short input can still pass the plain limit.
    std::wstring path;
    for (size_t i = 0; i < size; ++i) {
        const bool stretch = data[i] == 0xff;
        path.append(stretch ? 40 : 1, static_cast<wchar_t>(stretch ? 'd' : data[i]));
    }
    const std::wstring form = long_path::extended(path);
    const std::wstring rest = path.substr(path.compare(0, 2, L"\\\\") == 0 ? 2 : 0);
    if (form.size() < path.size() ||
        form.compare(form.size() - rest.size(), rest.size(), rest) != 0)
        std::abort();
    if (form.size() > long_path::PlainLimit && form.compare(0, 4, L"\\\\?\\") != 0 &&
        form.compare(0, 4, L"\\\\.\\") != 0)
        std::abort();
    if (long_path::extended(form) != form || (form != path && long_path::isRelative(form)))
        std::abort();
    return 0;
}
