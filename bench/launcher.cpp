// The launcher's own cost, against programs that pay the same price for starting under Wine:
//  - main road: a whole quiet run (a registered stand-in JVM, its test run, the wizard);
//  - two stand-in starts: only the stand-in's test run and wizard, started the same way;
//  - window program: bench_window.exe, which imports the launcher's DLLs, registers a class,
//    creates a hidden window and ends;
//  - window program starting the stand-ins: the same, and between window and end the two
//    stand-in starts as the launcher makes them (the test run with no console window): the
//    honest floor of the main road, the console each console program gets from a windowed
//    parent included;
//  - quiet failing run: `setup.exe -q x` in an empty directory (no control file, exit code 16).
// Each program is timed in a series of its own: a few untimed starts first (Wine's caches warm for
// that program), then the timed ones; the series alternate in rounds (the order turns each round),
// so that a drift of the machine touches every program alike. Figures are medians of the timed
// starts. The peak working set is polled during the untimed starts: Wine reports a running
// process's peak resident size, and nothing once it has ended.
// Where the quiet failing run's extra time goes (mostly the hidden status dialog's creation and
// centring): README, "Where the quiet failing run spends its own start".
// Usage: bench_launcher.exe [timed starts per program]   (programs are taken from this program's
// directory)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* JreKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr const char* VersionKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6";

std::string ownDir()
{
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length < sizeof path ? length : 0);
    return text.substr(0, text.find_last_of('\\'));
}

bool keyExists(const char* key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool writeText(const std::string& path, const std::string& text)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && ok;
}

void deleteTree(const std::string& dir)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                deleteTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

double now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Run {
    bool ok = false;
    DWORD exitCode = 0;
};

// Starts `command` in `workDir` and waits for it; with `peak`, polls the process's peak working
// set until it ends and keeps the largest seen in *peak.
Run runAndWait(const std::string& command, const std::string& workDir, SIZE_T* peak = nullptr)
{
    Run run;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.c_str(), &startup, &process))
        return run;
    const DWORD limitMs = 120000;
    const DWORD pollMs = peak != nullptr ? 2 : limitMs;
    DWORD waited = 0;
    DWORD state = WAIT_TIMEOUT;
    while (state == WAIT_TIMEOUT && waited < limitMs) {
        if (peak != nullptr) {
            PROCESS_MEMORY_COUNTERS counters{};
            counters.cb = sizeof counters;
            if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
                *peak = std::max(*peak, counters.PeakWorkingSetSize);
        }
        state = WaitForSingleObject(process.hProcess, pollMs);
        waited += pollMs;
    }
    run.ok = state == WAIT_OBJECT_0;
    if (!run.ok)
        TerminateProcess(process.hProcess, 255);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

// One program's series: `prepare` lays out what a start needs (untimed), `start` runs it once
// and tells whether it did what it should.
struct Series {
    Series(const char* seriesName, std::function<bool()> prepareStart,
           std::function<bool(SIZE_T*)> runStart)
        : name(seriesName), prepare(std::move(prepareStart)), start(std::move(runStart))
    {
    }
    const char* name;
    std::function<bool()> prepare;
    std::function<bool(SIZE_T* peak)> start;
    std::vector<double> times;
    SIZE_T peak = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    constexpr int TimedPerSeries = 3;
    constexpr int UntimedPerSeries = 2;
    const int rounds = (runs + TimedPerSeries - 1) / TimedPerSeries;
    const std::string bin = ownDir();
    if (keyExists(VersionKey)) {
        std::printf("a JVM 1.6 is registered already; the benchmark does not touch it\n");
        return 1;
    }
    const bool hadJre = keyExists(JreKey);
    const bool hadJavaSoft = keyExists("SOFTWARE\\JavaSoft");

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "qrvbench" + std::to_string(GetCurrentProcessId());
    const std::string home = root + "\\jre";
    const std::string pkg = root + "\\pkg";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(home.c_str(), nullptr);
    CreateDirectoryA((home + "\\bin").c_str(), nullptr);
    CreateDirectoryA(pkg.c_str(), nullptr);
    const std::string javaw = home + "\\bin\\javaw.exe";
    bool ready = CopyFileA((bin + "\\fakejvm.exe").c_str(), javaw.c_str(), FALSE) &&
                 CopyFileA((bin + "\\fakejvm.exe").c_str(), (home + "\\bin\\java.exe").c_str(),
                           FALSE) &&
                 writeText(home + "\\bin\\fakejvm.ini",
                           "version=1.6.0_20\ntestrun=good\nwizard=create\n");

    HKEY key = nullptr;
    ready = ready && RegCreateKeyExA(HKEY_LOCAL_MACHINE, VersionKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr) == ERROR_SUCCESS;
    if (key != nullptr) {
        RegSetValueExA(key, "JavaHome", 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                       static_cast<DWORD>(home.size() + 1));
        RegSetValueExA(key, "MicroVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
        RegCloseKey(key);
    }

    // The package is laid out afresh before every run, outside the timing.
    auto preparePackage = [&]() {
        return writeText(pkg + "\\qrv.control",
                         "jvmRequiredVersion=1.6\r\njvmCommandName=java.exe\r\n") &&
               writeText(pkg + "\\install.jar", "") &&
               CopyFileA((bin + "\\TestJvm.class").c_str(), (pkg + "\\TestJvm.class").c_str(),
                         FALSE);
    };

    // No control file: the run fails at once, with the control file's exit code. Each run starts
    // in an empty directory, as a failed run keeps its logs.
    const std::string failing = root + "\\empty";
    auto prepareEmpty = [&]() {
        deleteTree(failing);
        return CreateDirectoryA(failing.c_str(), nullptr) != 0;
    };

    const std::string setup = "\"" + bin + "\\setup.exe\" -q x";
    const std::string testRun = "\"" + javaw + "\" -cp . TestJvm \"" + pkg + "\"";
    const std::string wizard = "\"" + javaw + "\" -cp .;install.jar Loader -q x";
    const std::string windowProgram = "\"" + bin + "\\bench_window.exe\"";
    Series series[] = {
        {"launcher main-road run", preparePackage,
         [&](SIZE_T* peak) {
             const Run run = runAndWait(setup, pkg, peak);
             return run.ok && run.exitCode == 0;
         }},
        {"two stand-in JVM starts", preparePackage,
         [&](SIZE_T* peak) {
             const Run first = runAndWait(testRun, pkg, peak);
             const Run second = runAndWait(wizard, pkg, peak);
             return first.ok && second.ok;
         }},
        {"window program", [] { return true; },
         [&](SIZE_T* peak) {
             const Run run = runAndWait(windowProgram, pkg, peak);
             return run.ok && run.exitCode == 0;
         }},
        {"window program starting the two stand-ins as the launcher does", preparePackage,
         [&](SIZE_T* peak) {
             SetEnvironmentVariableA("QRV_BENCH_TESTRUN", testRun.c_str());
             SetEnvironmentVariableA("QRV_BENCH_WIZARD", wizard.c_str());
             const Run run = runAndWait(windowProgram, pkg, peak);
             SetEnvironmentVariableA("QRV_BENCH_TESTRUN", nullptr);
             SetEnvironmentVariableA("QRV_BENCH_WIZARD", nullptr);
             return run.ok && run.exitCode == 0;
         }},
        {"launcher quiet failing run", prepareEmpty,
         [&](SIZE_T* peak) {
             const Run run = runAndWait(setup, failing, peak);
             return run.ok && run.exitCode == 16;
         }},
    };
    constexpr int SeriesCount = sizeof series / sizeof series[0];
    const char* failure = ready ? nullptr : "the stand-in JVM could not be laid out";
    for (int round = 0; round < rounds && failure == nullptr; ++round) {
        for (int k = 0; k < SeriesCount && failure == nullptr; ++k) {
            Series& one = series[(round + k) % SeriesCount];
            for (int i = 0; i < UntimedPerSeries + TimedPerSeries && failure == nullptr; ++i) {
                const bool timed = i >= UntimedPerSeries;
                if (!one.prepare()) {
                    failure = one.name;
                    break;
                }
                const double start = now();
                const bool ok = one.start(timed ? nullptr : &one.peak);
                if (timed)
                    one.times.push_back(now() - start);
                if (!ok)
                    failure = one.name;
            }
        }
    }

    deleteTree(root);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, VersionKey);
    if (!hadJre)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, JreKey);
    if (!hadJavaSoft)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft");
    if (failure != nullptr) {
        std::printf("launcher benchmark failed: %s did not do what it should\n", failure);
        return 1;
    }
    const double mainRoad = median(series[0].times);
    const double standins = median(series[1].times);
    const double window = median(series[2].times);
    const double honest = median(series[3].times);
    const double quiet = median(series[4].times);
    std::printf("(each time: median of %d timed starts, %d per series after %d untimed ones, "
                "the series of the programs alternating)\n",
                rounds * TimedPerSeries, TimedPerSeries, UntimedPerSeries);
    for (const Series& one : series)
        std::printf("%s (median s): %.4f\n", one.name, median(one.times));
    std::printf("launcher cost, main-road run / two stand-in starts: %.2f\n", mainRoad / standins);
    std::printf("window program + two stand-in starts from this console program (s): %.4f\n",
                window + standins);
    std::printf("launcher main-road run / (window program + two stand-in starts), their consoles "
                "not counted: %.2f\n",
                mainRoad / (window + standins));
    std::printf("launcher main-road run / honest baseline (the window program starting the two "
                "stand-ins as the launcher does; goal at most 1.15): %.2f\n",
                mainRoad / honest);
    std::printf("quiet failing run / window program, how promptly a failing run ends "
                "(goal at most 1.2): %.2f\n",
                quiet / window);
    std::printf("quiet failing run - window program, the launcher's own start (ms): %.0f\n",
                (quiet - window) * 1000);
    std::printf("peak working set of a main-road launcher run, as polled (KiB): %lu\n",
                static_cast<unsigned long>(series[0].peak / 1024));
    std::printf("peak working set of the window program, as polled (KiB): %lu\n",
                static_cast<unsigned long>(series[2].peak / 1024));
    return 0;
}
