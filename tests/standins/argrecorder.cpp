// Stand-in for a program the launcher starts: records what it received and acts as configured.
//
// Writes its current directory and then each argv element, one per line, to the file named by
// QRV_ARGRECORDER_OUT, or else to "<own name>.args" beside itself. Reads "<own name>.cfg" beside
// itself, lines "sem=1" (create "__qrvwizard.sem" in the current directory), "exit=N" (exit
// code) and "probe=NAME" (write to "<own name>.probe" whether NAME exists in the current
// directory, as "NAME exists" or "NAME missing", and the inherited CLASSPATH as "CLASSPATH=..."
// or "CLASSPATH unset"). Copied under another name (javaw.exe, ...) it records under that name.
#include <direct.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string ownBase()
{
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string base(path, length < sizeof path ? length : 0);
    const std::string::size_type dot = base.find_last_of('.');
    if (dot != std::string::npos && dot > base.find_last_of('\\'))
        base.erase(dot);
    return base;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string base = ownBase();
    const char* named = std::getenv("QRV_ARGRECORDER_OUT");
    const std::string outName = named != nullptr && *named != '\0' ? named : base + ".args";

    FILE* out = std::fopen(outName.c_str(), "wb");
    if (out != nullptr) {
        char cwd[MAX_PATH * 4];
        std::fprintf(out, "%s\n", _getcwd(cwd, sizeof cwd) != nullptr ? cwd : "");
        for (int i = 0; i < argc; ++i)
            std::fprintf(out, "%s\n", argv[i]);
        std::fclose(out);
    }

    bool createSem = false;
    int exitCode = 0;
    std::string probes;
    FILE* cfg = std::fopen((base + ".cfg").c_str(), "r");
    if (cfg != nullptr) {
        char line[256];
        while (std::fgets(line, sizeof line, cfg) != nullptr) {
            if (std::strncmp(line, "sem=1", 5) == 0)
                createSem = true;
            else if (std::strncmp(line, "exit=", 5) == 0)
                exitCode = std::atoi(line + 5);
            else if (std::strncmp(line, "probe=", 6) == 0) {
                std::string name(line + 6);
                while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
                    name.pop_back();
                probes += name + (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES
                                      ? " exists\n"
                                      : " missing\n");
            }
        }
        std::fclose(cfg);
    }
    if (!probes.empty()) {
        const char* classpath = std::getenv("CLASSPATH");
        probes += classpath != nullptr ? std::string("CLASSPATH=") + classpath + "\n"
                                       : std::string("CLASSPATH unset\n");
        FILE* probe = std::fopen((base + ".probe").c_str(), "wb");
        if (probe != nullptr) {
            std::fputs(probes.c_str(), probe);
            std::fclose(probe);
        }
    }
    if (createSem) {
        FILE* sem = std::fopen("__qrvwizard.sem", "w");
        if (sem != nullptr)
            std::fclose(sem);
    }
    return exitCode;
}
