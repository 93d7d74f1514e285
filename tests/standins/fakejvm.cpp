// Stand-in JVM for the tests, copied into a fake JVM home as java.exe or jre.exe; fakejvmw.exe, its
// windowed build, as javaw.exe or jrew.exe. Configured by "fakejvm.ini" beside it:
//   version=1.6.0_20        the version it reports
//   testrun=good|nothing|garbage   what a run of the class TestJvm writes into jvmGood.txt
//   testrun=goodonce        good for the first run of TestJvm, nothing for every later one
//   testrun=hang            a run of TestJvm starts a second copy of itself and both wait for
//                           ever; the record gets "pid=<own id>" and "childpid=<the copy's id>"
//   wizard=create|none      whether any other start creates __qrvwizard.sem in its current dir
//   wizard=wait             as create, then the start runs on until a file "fakejvm.release"
//                           appears beside it (it gives up after 120 s, so no run hangs)
//   wizardexit=<number>     the exit code of any other start (default 0)
//   killtest=<file>         a kill point (Standin.h) in the test run, before its answer
//   killwizard=<file>       a kill point of the wizard, once it has created __qrvwizard.sem
//   nativetemp=<dir>        a wizard start rewrites native.properties to name <dir> as the
//                           temporary JVM directory
// "-version" prints the version line of a JVM of `version` on the error output.
// Every start is appended to "fakejvm.record" beside it, whichever name the copy has (the
// stand-ins' record format, Standin.h); a wizard start adds a line "native=<line>" per line of
// the native.properties that it finds in its current directory, and "changes=<line>" per line of
// a changes.txt there, every start "options=<value>" when _JAVA_OPTIONS is set, and
// "console=window" when it has a console window (what a desktop shows; Wine hides it).
#include "Standin.h"

#include <cstdlib>

namespace {

std::string setting(const std::string& dir, const char* key, const char* fallback)
{
    return standin::setting(dir + "\\fakejvm.ini", key, fallback);
}

// A wizard that keeps running until the test lets it end.
void waitForRelease(const std::string& dir)
{
    const std::string release = dir + "\\fakejvm.release";
    for (int i = 0; i < 1200; ++i) {
        if (GetFileAttributesA(release.c_str()) != INVALID_FILE_ATTRIBUTES)
            return;
        Sleep(100);
    }
}

} // namespace

// The hung run: this process and one it started, so that a test sees both ended.
int hang(const std::string& dir, char** argv)
{
    std::string lines = "pid=" + std::to_string(GetCurrentProcessId()) + "\n";
    std::string command = std::string("\"") + argv[0] + "\" --hang-child";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (CreateProcessA(standin::ownPath().c_str(), &command[0], nullptr, nullptr, FALSE, 0,
                       nullptr, nullptr, &startup, &child)) {
        lines += "childpid=" + std::to_string(child.dwProcessId) + "\n";
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
    standin::writeText(dir + "\\fakejvm.record", lines, "at");
    Sleep(INFINITE);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--hang-child") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    const std::string dir = standin::ownDirectory();
    standin::record(dir + "\\fakejvm.record", argc, argv);
    if (const char* options = std::getenv("_JAVA_OPTIONS"))
        standin::writeText(dir + "\\fakejvm.record", std::string("options=") + options + "\n", "at");
    if (GetConsoleWindow() != nullptr)
        standin::writeText(dir + "\\fakejvm.record", "console=window\n", "at");
    if (argc == 2 && std::strcmp(argv[1], "-version") == 0) {
        std::fprintf(stderr, "java version \"%s\"\n", setting(dir, "version", "1.6.0_20").c_str());
        return 0;
    }

    int classIndex = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "TestJvm") == 0) {
            classIndex = i;
            break;
        }
    }
    if (classIndex >= 0) {
        // The directory argument may arrive split at its blanks: join the pieces again.
        std::string target;
        for (int i = classIndex + 1; i < argc; ++i) {
            if (!target.empty())
                target += ' ';
            target += argv[i];
        }
        std::string mode = setting(dir, "testrun", "good");
        if (mode == "goodonce") {
            const std::string marker = dir + "\\fakejvm.tested";
            if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
                return 0;
            if (FILE* file = std::fopen(marker.c_str(), "w"))
                std::fclose(file);
            mode = "good";
        }
        standin::killPoint(setting(dir, "killtest", ""));
        if (mode == "nothing")
            return 0;
        if (mode == "hang")
            return hang(dir, argv);
        FILE* out = std::fopen((target + "\\jvmGood.txt").c_str(), "wt");
        if (out == nullptr)
            return 1;
        if (mode == "garbage")
            std::fprintf(out, "no version to be seen here\n");
        else
            std::fprintf(out, "java.version=%s\n", setting(dir, "version", "1.6.0_20").c_str());
        std::fclose(out);
        return 0;
    }

    // As the wizard: note the properties and the system change log that the launcher left.
    const char* const handedOver[][2] = {{"native.properties", "native"}, {"changes.txt", "changes"}};
    for (const auto& file : handedOver) {
        FILE* in = std::fopen(file[0], "rt");
        if (in == nullptr)
            continue;
        if (FILE* record = std::fopen((dir + "\\fakejvm.record").c_str(), "at")) {
            char line[1024];
            while (std::fgets(line, sizeof line, in) != nullptr) {
                line[std::strcspn(line, "\r\n")] = '\0';
                std::fprintf(record, "%s=%s\n", file[1], line);
            }
            std::fclose(record);
        }
        std::fclose(in);
    }
    const std::string nativeTemp = setting(dir, "nativetemp", "");
    if (!nativeTemp.empty()) {
        if (FILE* properties = std::fopen("native.properties", "wt")) {
            std::fprintf(properties, "nativeJvmInstalledInTemp=true\nnativeTempJvmDir=%s\n",
                         nativeTemp.c_str());
            std::fclose(properties);
        }
    }
    const std::string wizard = setting(dir, "wizard", "create");
    if (wizard == "create" || wizard == "wait") {
        if (FILE* sem = std::fopen("__qrvwizard.sem", "w"))
            std::fclose(sem);
    }
    if (wizard == "wait")
        waitForRelease(dir);
    standin::killPoint(setting(dir, "killwizard", ""));
    return std::atoi(setting(dir, "wizardexit", "0").c_str());
}
