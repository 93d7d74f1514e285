#include "install/Install.h"

#include "jvm/discovery/JvmSupport.h"

#include <algorithm>

using namespace qrvtest;
using namespace jvmtest;

namespace {

class DriverWithRegisteredJvm : public InTempDirWithRegistry {};

TEST_F(DriverWithRegisteredJvm, ReachesTheWizardStepWithNativePropertiesWritten)
{
    const std::string home = dir / "jre 1.6";
    CreateDirectoryA(home.c_str(), nullptr);
    // With a trace log the user asked for, the console program is the one used.
    installFakeJvm(home + "\\bin", "java.exe", "1.6.0_20");
    const std::string key = "SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6";
    setRegString(HKEY_LOCAL_MACHINE, key, "MicroVersion", "0");
    setRegString(HKEY_LOCAL_MACHINE, key, "JavaHome", home);
    copyTestClass();
    writeFile("qrv.control", "jvmRequiredVersion=1.6\r\njvmCommandName=java.exe\r\n"
                             "configureWinRegistry=no\r\nconfigureWinRegistry=yes\r\n");
    writeFile("install.jar", "");
    createTraceLog();  // a trace the user asked for outlives a successful run

    char details[] = "";
    EXPECT_TRUE(startProgram(true, false, details, "")) << readTextFile("jinstall.log");

    std::string forward = home;
    std::replace(forward.begin(), forward.end(), '\\', '/');
    const std::vector<std::string> expected = {
        "nativeJvmHomeDir=" + forward, "nativeJvmInstalled=false",
        "nativeJvmInstalledInTemp=false", "configureWinRegistry=false"};

    // The properties as the wizard saw them (the cleanup removes the file afterwards).
    std::vector<std::string> seen;
    for (const auto& start : jvmStarts(home + "\\bin")) {
        for (const std::string& line : start) {
            if (line.compare(0, 7, "native=") == 0)
                seen.push_back(line.substr(7));
        }
    }
    EXPECT_EQ(expected, seen);
    EXPECT_FALSE(exists("native.properties"));

    const std::vector<std::string> trace = logMessages("jinstall.log");
    const std::string found = "Found correct version of JVM: " + home + "\\bin\\java.exe";
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), found));
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "jvm home dir " + home));
}

TEST_F(DriverWithRegisteredJvm, SearchSwitchedOffFindsNothing)
{
    writeFile("qrv.control", "searchForJvm=NONE\n");
    char details[] = "";
    EXPECT_FALSE(startProgram(true, false, details, ""));
    const std::vector<std::string> trace = logMessages("jinstall.log");
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "Search for JVM: NONE"));
    EXPECT_FALSE(exists("native.properties"));
}

} // namespace
