// Stand-in for a program the launcher starts: records what it received and acts as configured.
//
// Appends each start to "<own name>.record" beside itself (the stand-ins' record format,
// Standin.h). Reads "<own name>.cfg" beside itself, lines "sem=1" (create "__qrvwizard.sem" in
// the current directory), "exit=N" (exit code) and "probe=NAME" (write to "<own name>.probe"
// whether NAME exists in the current directory, as "NAME exists" or "NAME missing", and the
// inherited CLASSPATH as "CLASSPATH=..." or "CLASSPATH unset"). Copied under another name
// (javaw.exe, ...) it records under that name.
#include <cstdlib>

#include "Standin.h"

int main(int argc, char** argv)
{
    const std::string base = standin::ownBase();
    standin::record(base + ".record", argc, argv);

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
        standin::writeText(base + ".probe", probes, "wb");
    }
    if (createSem) {
        FILE* sem = std::fopen("__qrvwizard.sem", "w");
        if (sem != nullptr)
            std::fclose(sem);
    }
    return exitCode;
}
