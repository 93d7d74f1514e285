// The C++ runtime's heavy parts that these programs never use, kept out of them:
//  - The default end for an exception that nobody catches names the exception's type on the
//    standard error stream, and brings the runtime's demangler (45 KB) for that.
//  - The library's failures (a string grown past its limit, a bad index, no memory for an array)
//    are raised as exceptions that carry their message in strings of the old kind, with those
//    strings' whole implementation (25 KB).
//  - The runtime's operator new raises std::bad_alloc when memory runs out, which brings the
//    exception runtime: the unwinder, its emergency pool and its lock, the thread library.
//    Nothing installs a new-handler, so the operators here take memory from malloc as the
//    runtime's do, and release it to free through the runtime's operator delete.
// These programs catch no exception and have no console to print on: each of these ends them as
// the uncaught exception would, by abort(), without any of it.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

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

void* operator new(std::size_t size)
{
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) {
        std::abort();
    }
    return memory;
}

void* operator new[](std::size_t size)
{
    return ::operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size == 0 ? 1 : size);
}
