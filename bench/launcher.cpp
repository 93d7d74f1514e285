// The launcher's own cost on its main road, against a program that pays the same price for
// starting under Wine and for starting the same children:
//  - main road: a whole quiet run (a registered stand-in JVM, its test run, the wizard, the
//    cleanup), the JVM's windowed program started as javaw.exe;
//  - honest baseline: bench_window.exe, which imports the launcher's DLLs, registers a class,
//    creates a hidden window, starts the same stand-in JVM twice with the launcher's own calls
//    and flags (the test run suspended in a killing job with no console window, the wizard
//    plainly) and ends; started by this program, as the launcher is;
//  - window program: bench_window.exe alone;
//  - quiet failing run: `setup.exe -q x` in an empty directory (no control file, exit code 16).
// A round starts each program once; two untimed rounds warm Wine's caches first. Under Wine a
// program's start is slowed by what the one before it left to finish (its process's teardown
// goes on after its handle is signalled), and by how much depends on which program that was.
// So every start is preceded by a settling pause, untimed, and the order of a round follows a
// balanced square: over four rounds each program goes first once and, within the rounds,
// follows each of the others once. The figures are medians of the per-round ratios with their
// middle half (the quartiles): the machine's drift over minutes touches all programs of a round
// alike. The stand-in JVM notes when each of its starts was created and ended
// (bench/childtimes.cpp), so that the launcher's own part is told from its children's: its time
// from its creation to its first child's, and from its last child's end to its own.
// The peak working set is polled during the untimed rounds: Wine reports a running process's peak
// resident size, and nothing once it has ended.
// Where the launcher's own time goes: README, "Where the launcher's time goes".
// Usage: bench_launcher.exe [timed rounds] [mark]   (programs are taken from this program's
// directory; with "mark", a line "bench: <program>" on the error output before each start, to
// find each program's part in a trace of Wine's)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* JreKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
constexpr const char* VersionKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6";
// Untimed, before every start: long enough for the previous program's teardown to end.
constexpr DWORD SettleMs = 100;
// The order of the four programs in round r is row r % 4: within four rounds every program is
// preceded by every other one exactly once (a Williams square).
constexpr int RoundOrder[4][4] = {{0, 1, 3, 2}, {1, 2, 0, 3}, {2, 3, 1, 0}, {3, 0, 2, 1}};

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

unsigned long long ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

struct Run {
    bool ok = false;
    DWORD exitCode = 0;
    // When the system created the process and when it ended (100 ns units).
    unsigned long long created = 0;
    unsigned long long exited = 0;
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
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user)) {
        run.created = ticks(created);
        run.exited = ticks(exited);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

// The parts of `run` that were its own, in ms, from its children's times in `file` (one line
// "<created> <ended>" per child, one child after the other): up to its first child's creation,
// between one child's end and the next one's creation, after its last child's end; and the
// children's own time, from creation to end: the first child's (the test run), then the later
// ones' (the wizard). False when no child noted its times.
bool ownParts(const Run& run, const std::string& file, double parts[5])
{
    FILE* in = std::fopen(file.c_str(), "r");
    if (in == nullptr)
        return false;
    std::vector<std::pair<unsigned long long, unsigned long long>> children;
    unsigned long long created = 0, ended = 0;
    while (std::fscanf(in, "%llu %llu", &created, &ended) == 2)
        children.emplace_back(created, ended);
    std::fclose(in);
    if (children.empty())
        return false;
    std::sort(children.begin(), children.end());
    auto ms = [](unsigned long long from, unsigned long long to) {
        return (static_cast<double>(to) - static_cast<double>(from)) / 1e4;
    };
    parts[0] = ms(run.created, children.front().first);
    parts[1] = 0;
    parts[3] = ms(children[0].first, children[0].second);
    parts[4] = 0;
    for (size_t i = 1; i < children.size(); ++i) {
        parts[1] += ms(children[i - 1].second, children[i].first);
        parts[4] += ms(children[i].first, children[i].second);
    }
    parts[2] = ms(children.back().second, run.exited);
    return true;
}

// One program's starts: `prepare` lays out what a start needs (untimed), `start` runs it once
// and tells whether it did what it should.
struct Series {
    Series(const char* seriesName, std::function<bool()> prepareStart,
           std::function<Run(SIZE_T*)> runStart, bool timesChildren)
        : name(seriesName), prepare(std::move(prepareStart)), start(std::move(runStart)),
          children(timesChildren)
    {
    }
    const char* name;
    std::function<bool()> prepare;
    std::function<Run(SIZE_T* peak)> start;
    bool children;
    std::vector<double> times;
    // Per start, in ms: up to the first child, between the children, after the last one; the
    // first child's own time, the later ones'.
    std::vector<double> parts[5];
    SIZE_T peak = 0;
};

// The value at `share` (0 to 1) of the sorted values, between neighbours.
double quantile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const double at = share * static_cast<double>(values.size() - 1);
    const size_t low = static_cast<size_t>(at);
    const size_t high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

double median(const std::vector<double>& values)
{
    return quantile(values, 0.5);
}

// "<median> (middle half <first quartile>-<third quartile>)", with `decimals` decimals.
std::string withSpread(const std::vector<double>& values, int decimals)
{
    char text[200];
    std::snprintf(text, sizeof text, "%.*f (middle half %.*f-%.*f)", decimals, median(values),
                  decimals, quantile(values, 0.25), decimals, quantile(values, 0.75));
    return text;
}

std::vector<double> ratios(const Series& top, const Series& bottom)
{
    std::vector<double> values;
    for (size_t i = 0; i < top.times.size() && i < bottom.times.size(); ++i)
        values.push_back(top.times[i] / bottom.times[i]);
    return values;
}

// The three parts of each start together.
std::vector<double> ownTotals(const Series& one)
{
    std::vector<double> values;
    for (size_t i = 0; i < one.parts[0].size(); ++i)
        values.push_back(one.parts[0][i] + one.parts[1][i] + one.parts[2][i]);
    return values;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const bool mark = argc > 2 && std::strcmp(argv[2], "mark") == 0;
    constexpr int UntimedRounds = 2;
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
    const std::string childTimes = root + "\\children.txt";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(home.c_str(), nullptr);
    CreateDirectoryA((home + "\\bin").c_str(), nullptr);
    CreateDirectoryA(pkg.c_str(), nullptr);
    // The windowed program is the one the launcher runs (no trace log of the user's).
    const std::string javaw = home + "\\bin\\javaw.exe";
    bool ready = CopyFileA((bin + "\\bench_javaw.exe").c_str(), javaw.c_str(), FALSE) &&
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
        DeleteFileA(childTimes.c_str());
        return writeText(pkg + "\\qrv.control",
                         "jvmRequiredVersion=1.6\r\njvmCommandName=java.exe\r\n") &&
               writeText(pkg + "\\install.jar", "") &&
               CopyFileA((bin + "\\TestJvm.class").c_str(), (pkg + "\\TestJvm.class").c_str(),
                         FALSE);
    };

    // The baseline's children find the package as the launcher's find it: the test run no
    // results file, the wizard no marker file and the launcher's hand-over file.
    std::string forwardHome = home;
    std::replace(forwardHome.begin(), forwardHome.end(), '\\', '/');
    auto prepareBaseline = [&]() {
        DeleteFileA((pkg + "\\jvmGood.txt").c_str());
        DeleteFileA((pkg + "\\__qrvwizard.sem").c_str());
        return preparePackage() &&
               writeText(pkg + "\\native.properties",
                         "nativeJvmHomeDir=" + forwardHome +
                             "\r\nnativeJvmInstalled=false\r\nnativeJvmInstalledInTemp=false\r\n"
                             "configureWinRegistry=true\r\n");
    };

    // No control file: the run fails at once, with the control file's exit code. Each run starts
    // in a new empty directory, as a failed run keeps its logs; they are all removed with the
    // benchmark's folder at the end. (Removing the last run's directory just before the next
    // start delayed that start, up to WinMain, by some 15 ms under Wine: a cost of the
    // benchmark's own that the window program never paid.)
    std::string failing;
    int emptyDirs = 0;
    auto prepareEmpty = [&]() {
        failing = root + "\\empty" + std::to_string(++emptyDirs);
        return CreateDirectoryA(failing.c_str(), nullptr) != 0;
    };

    const std::string setup = "\"" + bin + "\\setup.exe\" -q x";
    const std::string windowProgram = "\"" + bin + "\\bench_window.exe\"";
    // The two starts of the JVM with the launcher's command lines: the test run's directory by
    // its full path; the wizard's class path switch and class are the package's, none here.
    const std::string testRun = "javaw.exe -cp . TestJvm " + pkg;
    const std::string wizard = "javaw.exe  .;install.jar  -q x";
    SetEnvironmentVariableA("QRV_BENCH_TIMES", childTimes.c_str());
    Series series[] = {
        {"launcher main-road run", preparePackage,
         [&](SIZE_T* peak) {
             Run run = runAndWait(setup, pkg, peak);
             run.ok = run.ok && run.exitCode == 0;
             return run;
         },
         true},
        {"honest baseline: window program starting the stand-in JVM twice as the launcher does",
         prepareBaseline,
         [&](SIZE_T* peak) {
             SetEnvironmentVariableA("QRV_BENCH_JVM", javaw.c_str());
             SetEnvironmentVariableA("QRV_BENCH_TESTRUN", testRun.c_str());
             SetEnvironmentVariableA("QRV_BENCH_WIZARD", wizard.c_str());
             Run run = runAndWait(windowProgram, pkg, peak);
             SetEnvironmentVariableA("QRV_BENCH_JVM", nullptr);
             SetEnvironmentVariableA("QRV_BENCH_TESTRUN", nullptr);
             SetEnvironmentVariableA("QRV_BENCH_WIZARD", nullptr);
             run.ok = run.ok && run.exitCode == 0;
             return run;
         },
         true},
        {"launcher quiet failing run", prepareEmpty,
         [&](SIZE_T* peak) {
             Run run = runAndWait(setup, failing, peak);
             run.ok = run.ok && run.exitCode == 16;
             return run;
         },
         false},
        {"window program", [] { return true; },
         [&](SIZE_T* peak) {
             Run run = runAndWait(windowProgram, pkg, peak);
             run.ok = run.ok && run.exitCode == 0;
             return run;
         },
         false},
    };
    const char* failure = ready ? nullptr : "the stand-in JVM could not be laid out";
    const char* failed = "did not do what it should";
    DWORD failedExit = 0;
    for (int round = 0; round < UntimedRounds + rounds && failure == nullptr; ++round) {
        const bool timed = round >= UntimedRounds;
        for (int k = 0; k < 4 && failure == nullptr; ++k) {
            Series& one = series[RoundOrder[round % 4][k]];
            if (!one.prepare()) {
                failure = one.name;
                failed = "could not be prepared";
                break;
            }
            if (mark) {
                std::fprintf(stderr, "bench: %s\n", one.name);
                std::fflush(stderr);
            }
            Sleep(SettleMs);
            const double start = now();
            const Run run = one.start(timed ? nullptr : &one.peak);
            const double took = now() - start;
            double parts[5] = {0, 0, 0, 0, 0};
            if (!run.ok || (one.children && !ownParts(run, childTimes, parts))) {
                failure = one.name;
                failedExit = run.exitCode;
            }
            if (timed) {
                one.times.push_back(took);
                for (int part = 0; part < 5; ++part)
                    one.parts[part].push_back(parts[part]);
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
        std::printf("launcher benchmark failed: %s %s (exit code %lu)\n", failure, failed,
                    static_cast<unsigned long>(failedExit));
        return 1;
    }
    const Series& mainRoad = series[0];
    const Series& honest = series[1];
    const Series& quiet = series[2];
    const Series& window = series[3];
    std::printf("(%d timed rounds after %d untimed ones; a round starts each program once, each "
                "start after a pause of %lu ms, in an order that, within four rounds, puts every "
                "program first once and after every other one once)\n",
                rounds, UntimedRounds, static_cast<unsigned long>(SettleMs));
    for (const Series& one : series)
        std::printf("%s (median s): %s\n", one.name, withSpread(one.times, 4).c_str());
    std::printf("launcher main-road run / honest baseline, median of the per-round ratios "
                "(goal at most 1.05): %s\n",
                withSpread(ratios(mainRoad, honest), 3).c_str());
    // The launcher's own parts, and the same parts of its baseline: Wine's start and end of a
    // windowed process, and the two children's starts and ends, are in both.
    const char* const partNames[] = {"up to the first child", "between the two children",
                                     "after the last child"};
    for (int part = 0; part < 3; ++part)
        std::printf("main road's own part %s, launcher / honest baseline (ms): %s / %s\n",
                    partNames[part], withSpread(mainRoad.parts[part], 1).c_str(),
                    withSpread(honest.parts[part], 1).c_str());
    const std::vector<double> launcherOwn = ownTotals(mainRoad);
    const std::vector<double> baselineOwn = ownTotals(honest);
    std::printf("main road's own parts together, launcher / honest baseline (ms): %s / %s\n",
                withSpread(launcherOwn, 1).c_str(), withSpread(baselineOwn, 1).c_str());
    std::vector<double> ownExtra;
    for (size_t i = 0; i < launcherOwn.size(); ++i)
        ownExtra.push_back(launcherOwn[i] - baselineOwn[i]);
    std::printf("launcher's own cost on the main road, its own parts less the baseline's, per "
                "round (ms): %s\n",
                withSpread(ownExtra, 1).c_str());
    std::printf("the stand-in JVM's test run, from creation to end, under the launcher / under the "
                "baseline (ms): %s / %s\n",
                withSpread(mainRoad.parts[3], 1).c_str(), withSpread(honest.parts[3], 1).c_str());
    std::printf("the stand-in JVM's wizard start, from creation to end, under the launcher / under "
                "the baseline (ms): %s / %s\n",
                withSpread(mainRoad.parts[4], 1).c_str(), withSpread(honest.parts[4], 1).c_str());
    std::printf("quiet failing run / window program, median of the per-round ratios "
                "(goal at most 1.1): %s\n",
                withSpread(ratios(quiet, window), 3).c_str());
    std::vector<double> extra;
    for (size_t i = 0; i < quiet.times.size(); ++i)
        extra.push_back((quiet.times[i] - window.times[i]) * 1000);
    std::printf("quiet failing run - window program, the launcher's own start (ms): %s\n",
                withSpread(extra, 0).c_str());
    std::printf("peak working set of a main-road launcher run, as polled (KiB): %lu\n",
                static_cast<unsigned long>(mainRoad.peak / 1024));
    std::printf("peak working set of the window program, as polled (KiB): %lu\n",
                static_cast<unsigned long>(window.peak / 1024));
    return 0;
}
