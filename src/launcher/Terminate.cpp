// The C++ runtime's heavy parts that these programs never use, kept out of them:
//  - The default end for an exception that nobody catches names the exception's type on the
//    standard error stream, and brings the runtime's demangler (45 KB) for that.
//  - The library's failures (a string grown past its limit, a bad index, no memory for an array)
//    are raised as exceptions that carry their message in strings of the old kind, with those
//    strings' whole implementation (25 KB).
// These programs catch no exception and have no console to print on: each of these ends them as
// the uncaught exception would, by abort(), without any of it.
#include <bits/functexcept.h>

#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

namespace std {
void __throw_length_error(const char*)
{
    std::abort();
}

void __throw_logic_error(const char*)
{
    std::abort();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}

void __throw_bad_alloc()
{
    std::abort();
}

void __throw_bad_array_new_length()
{
    std::abort();
}

void __throw_bad_function_call()
{
    std::abort();
}
} // namespace std
