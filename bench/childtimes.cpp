// Linked into the benchmark's copy of the stand-in JVM (bench_javaw.exe, the tests' fakejvm.cpp
// built as a windowed program): when QRV_BENCH_TIMES names a file, every start appends to it, as
// the program ends, one line "<created> <ending>": the time the system created its process and
// the time it ends, in 100 ns units of the system clock. The benchmark reads them to tell the
// launcher's own time (before its first child, after its last one) from its children's.
#include <windows.h>

#include <cstdio>

namespace {

unsigned long long ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

struct ChildTimes {
    ~ChildTimes()
    {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        char path[MAX_PATH * 4];
        const DWORD length = GetEnvironmentVariableA("QRV_BENCH_TIMES", path, sizeof path);
        FILETIME created, exited, kernel, user;
        if (length == 0 || length >= sizeof path ||
            !GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
            return;
        if (FILE* out = std::fopen(path, "a")) {
            std::fprintf(out, "%llu %llu\n", ticks(created), ticks(now));
            std::fclose(out);
        }
    }
};

// Destroyed as the program ends, after main has returned.
const ChildTimes childTimes;

} // namespace
