// qrv-check: the package author's checker. Reads a package directory as the launcher would
// (running nothing of it) and reports its faults: "qrv-check [--quiet] [DIR]".
// Exit code 0 without errors, 1 with errors, 2 when the directory cannot be read.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "check/PackageCheck.h"

int main(int argc, char** argv)
{
    bool quiet = false;
    const char* dir = ".";
    int named = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quiet") == 0) {
            quiet = true;
        } else if (argv[i][0] == '-' || ++named > 1) {
            std::fprintf(stderr, "usage: qrv-check [--quiet] [DIR]\n");
            return 2;
        } else {
            dir = argv[i];
        }
    }
    const PackageDir package{std::filesystem::path(dir)};
    if (!package.readable()) {
        std::fprintf(stderr, "qrv-check: %s: cannot read the directory\n", dir);
        return 2;
    }
    Report report;
    checkPackage(package, report);
    report.print(stdout, quiet);
    return report.errors() > 0 ? 1 : 0;
}
