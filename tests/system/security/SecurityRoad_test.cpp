// Security files on the packaged-JVM road as a user runs it: the built launcher expands the
// package's JVM on a machine without registered JVMs and places the package's security files
// in the new JVM, backing up what a plug-in JVM already had.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "jvm/discovery/JvmSupport.h"
#include "system/SystemSupport.h"

using namespace qrvtest;
using namespace jvmtest;
using namespace systemtest;

namespace {

class SecurityRoad : public InTempDir {};

TEST_F(SecurityRoad, PluginJvmGetsThePackagesSecurityFilesAndBackups)
{
    const std::string programFiles = dir / "pf";
    const std::string package = dir / "package";
    CreateDirectoryA(programFiles.c_str(), nullptr);
    CreateDirectoryA(package.c_str(), nullptr);
    MachineWithoutJvms machine(programFiles);

    ASSERT_TRUE(CopyFileA(builtProgram("fakeexpander.exe").c_str(),
                          (package + "\\expander.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(builtProgram("TestJvm.class").c_str(),
                          (package + "\\TestJvm.class").c_str(), FALSE));
    writeFile(package + "\\fakeexpander.ini",
              "jvm=" + builtProgram("fakejvm.exe") + "\nversion=1.4.2\nlayout=bin\n");
    writeFile(package + "\\install.jar", "");
    // The registry stays untouched (configureWinRegistry=no): nothing lands in the prefix's
    // Windows directory either.
    writeFile(package + "\\qrv.control",
              "jvmRequiredVersion=1.4\r\njvmVersion=1.4.2\r\njvmName=Java Plug-in\r\n"
              "jvmCommandName=java.exe\r\njvmInstallerType=selfExtratorJvmInstaller\r\n"
              "jvmSelfExtractor=expander.exe\r\nconfigureWinRegistry=no\r\n"
              "systemSecurityPolicyFilename=${java.home}/lib/security/java.security\r\n"
              "userSecurityPolicyFilename=${java.home}/lib/security/extra/user.policy\r\n");
    writeFile(package + "\\java.security", "from the package\n");
    writeFile(package + "\\user.policy", "grant {};\n");
    writeFile(package + "\\jinstall.log", "");  // a trace the user asked for stays

    const RunResult result =
        runProgram("\"" + builtProgram("setup.exe") + "\" -q x", package);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(0u, result.exitCode) << readTextFile(package + "\\jinstall.log");

    const std::string home = programFiles + "\\JavaSoft\\Java Plug-in1.4\\1.4.2";
    const std::string security = home + "\\lib\\security";
    // The JVM's own file was backed up and replaced; the new file was placed in a new directory.
    EXPECT_EQ("from the package\n", readFile(security + "\\java.security"));
    ASSERT_TRUE(exists(security + "\\java.001"));
    EXPECT_NE(std::string::npos, readFile(security + "\\java.001").find("identity.database="));
    EXPECT_EQ("grant {};\n", readFile(security + "\\extra\\user.policy"));

    // The wizard ran on the new JVM and found the change log of the backup; the cleanup took
    // the log away afterwards.
    bool wizard = false;
    std::vector<std::string> changes;
    for (const auto& start : jvmStarts(home + "\\bin")) {
        if (std::find(start.begin(), start.end(), "arg=TestJvm") != start.end())
            continue;
        wizard = true;
        for (const std::string& line : start) {
            if (line.compare(0, 8, "changes=") == 0)
                changes.push_back(line.substr(8));
        }
    }
    EXPECT_TRUE(wizard) << readTextFile(package + "\\jinstall.log");
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ("Renamed to " + security + "\\java.security identitydb.001", changes[0]);
    EXPECT_FALSE(exists(package + "\\changes.txt"));
}

} // namespace
