// Stand-in for a packaged self-expanding JVM. Started with the JVM directory as its current
// directory, it lays out a stand-in JVM tree there. Configured by "fakeexpander.ini" beside it:
//   jvm=<full path of the stand-in JVM program to copy>
//   version=1.3.1         the version the expanded JVM reports
//   layout=bin|jre|old|flat
//   fail=1                exit with code 3 without laying out anything
//   crash=1               end as a crashed program does (access violation exit status)
//   killpoint=<file>      a kill point (Standin.h) once the JVM's programs are laid out
//   jvmkill=<file>        a kill point of the expanded JVM's test run
// Every start is appended to "fakeexpander.record" beside it (the stand-ins' record format),
// with a line "commandline=<the command line as the program received it>".
#include "StandinJvmTree.h"

int main(int argc, char** argv)
{
    const std::string dir = standin::ownDirectory();
    const std::string ini = dir + "\\fakeexpander.ini";
    standin::writeText(dir + "\\fakeexpander.record",
                       standin::startRecord(argc, argv) + "commandline=" + GetCommandLineA() + "\n",
                       "at");
    if (standin::setting(ini, "fail", "0") == "1")
        return 3;
    if (standin::setting(ini, "crash", "0") == "1")
        TerminateProcess(GetCurrentProcess(), 0xC0000005);
    const bool ok = standin::layOutJvm(standin::currentDirectory(),
                                       standin::setting(ini, "jvm", ""),
                                       standin::setting(ini, "version", "1.3.1"),
                                       standin::setting(ini, "layout", "bin"),
                                       standin::setting(ini, "killpoint", ""),
                                       "killtest=" + standin::setting(ini, "jvmkill", "") + "\n");
    return ok ? 0 : 2;
}
