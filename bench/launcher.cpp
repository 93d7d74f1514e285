// The launcher's own cost: a whole quiet run on the main road (a registered stand-in JVM, its
// test run, the wizard) against a baseline that only starts the same stand-in twice the same way,
// and against the honest baseline that also starts a minimal windowed program (bench_window.exe:
// Wine's start-up and a first window cost every windowed program as much); a quiet run that
// fails at once (no control file) against the minimal windowed program alone; as ratios of
// median wall times; and the launcher's peak working set in a main-road run.
// Usage: bench_launcher.exe [runs]   (programs are taken from the directory of this program)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
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
    SIZE_T peakWorkingSet = 0;
};

// Starts `command` in `workDir` and waits for it.
Run runAndWait(const std::string& command, const std::string& workDir)
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
    run.ok = WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0;
    if (!run.ok)
        TerminateProcess(process.hProcess, 255);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
        run.peakWorkingSet = counters.PeakWorkingSetSize;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
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

    const std::string failing = root + "\\empty";

    std::vector<double> launcher, baseline, honest, window, quietFailure;
    SIZE_T peak = 0;
    bool failed = !ready;
    const char* failure = "the main-road run did not succeed";
    const std::string setup = "\"" + bin + "\\setup.exe\" -q x";
    const std::string testRun = "\"" + javaw + "\" -cp . TestJvm \"" + pkg + "\"";
    const std::string wizard = "\"" + javaw + "\" -cp .;install.jar Loader -q x";
    const std::string windowProgram = "\"" + bin + "\\bench_window.exe\"";
    for (int i = 0; i < runs && !failed; ++i) {
        failed = !preparePackage();
        double start = now();
        const Run run = runAndWait(setup, pkg);
        launcher.push_back(now() - start);
        failed = failed || !run.ok || run.exitCode != 0;
        peak = std::max(peak, run.peakWorkingSet);

        failed = failed || !preparePackage();
        start = now();
        const Run first = runAndWait(testRun, pkg);
        const Run second = runAndWait(wizard, pkg);
        const double twoStarts = now() - start;
        baseline.push_back(twoStarts);
        failed = failed || !first.ok || !second.ok;

        start = now();
        const Run windowRun = runAndWait(windowProgram, pkg);
        const double windowTime = now() - start;
        window.push_back(windowTime);
        honest.push_back(windowTime + twoStarts);
        if (!failed && (!windowRun.ok || windowRun.exitCode != 0)) {
            failed = true;
            failure = "the minimal window program did not run";
        }

        // No control file: the run fails at once, with the control file's exit code. Each run
        // starts in an empty directory, as a failed run keeps its logs.
        deleteTree(failing);
        CreateDirectoryA(failing.c_str(), nullptr);
        start = now();
        const Run quiet = runAndWait(setup, failing);
        quietFailure.push_back(now() - start);
        if (!failed && (!quiet.ok || quiet.exitCode != 16)) {
            failed = true;
            failure = "the quiet run without a control file did not end with 16";
        }
    }

    deleteTree(root);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, VersionKey);
    if (!hadJre)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, JreKey);
    if (!hadJavaSoft)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft");
    if (failed) {
        std::printf("launcher benchmark failed: %s\n", failure);
        return 1;
    }
    std::printf("launcher main-road run, %d runs (median s): %.4f\n", runs, median(launcher));
    std::printf("baseline two stand-in JVM starts (median s): %.4f\n", median(baseline));
    std::printf("launcher cost, run time / baseline time: %.2f\n",
                median(launcher) / median(baseline));
    std::printf("minimal window program (median s): %.4f\n", median(window));
    std::printf("honest baseline, window program and two stand-in starts (median s): %.4f\n",
                median(honest));
    std::printf("launcher main-road run / honest baseline (goal at most 1.3): %.2f\n",
                median(launcher) / median(honest));
    std::printf("launcher quiet failing run, no control file (median s): %.4f\n",
                median(quietFailure));
    std::printf("quiet failing run / window program (goal at most 1.5): %.2f\n",
                median(quietFailure) / median(window));
    std::printf("launcher peak working set in a run (KiB): %lu\n",
                static_cast<unsigned long>(peak / 1024));
    return 0;
}
