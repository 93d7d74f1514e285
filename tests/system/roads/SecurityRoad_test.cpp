// Security files on the packaged-JVM road as a user runs it: the built launcher expands the
// package's JVM on a machine without registered JVMs and places the package's security files
// in the new JVM, backing up what a plug-in JVM already had.
#include <string>
#include <vector>

#include "support/Package.h"
#include "system/SystemSupport.h"

using namespace qrvtest;
using namespace systemtest;

namespace {

class SecurityRoad : public InTempDir {};

TEST_F(SecurityRoad, PluginJvmGetsThePackagesSecurityFilesAndBackups)
{
    const std::string programFiles = dir / "pf";
    makeDirs(programFiles);
    MachineWithoutJvms machine(programFiles);

    Package package(dir / "package", false);
    package.expander("expander.exe", "version=1.4.2\nlayout=bin\n");
    // The registry stays untouched (configureWinRegistry=no): nothing lands in the prefix's
    // Windows directory either.
    package.wizardFiles("jvmRequiredVersion=1.4\r\njvmVersion=1.4.2\r\njvmName=Java Plug-in\r\n"
                        "jvmCommandName=java.exe\r\njvmInstallerType=selfExtratorJvmInstaller\r\n"
                        "jvmSelfExtractor=expander.exe\r\nconfigureWinRegistry=no\r\n"
                        "systemSecurityPolicyFilename=${java.home}/lib/security/java.security\r\n"
                        "userSecurityPolicyFilename=${java.home}/lib/security/extra/user.policy\r\n");
    package.put("java.security", "from the package\n");
    package.put("user.policy", "grant {};\n");
    createTraceLog(package.dir());  // a trace the user asked for stays

    ASSERT_NO_FATAL_FAILURE(package.run("-q x"));
    EXPECT_EQ(0u, package.exitCode()) << readTextFile(package / "jinstall.log");

    const std::string home = programFiles + "\\JavaSoft\\Java Plug-in1.4\\1.4.2";
    const std::string security = home + "\\lib\\security";
    // The JVM's own file was backed up and replaced; the new file was placed in a new directory.
    EXPECT_EQ("from the package\n", readFile(security + "\\java.security"));
    ASSERT_TRUE(exists(security + "\\java.001"));
    EXPECT_NE(std::string::npos, readFile(security + "\\java.001").find("identity.database="));
    EXPECT_EQ("grant {};\n", readFile(security + "\\extra\\user.policy"));

    // The wizard ran on the new JVM and found the change log of the backup; the cleanup took
    // the log away afterwards.
    const auto wizards = wizardStarts(home + "\\bin");
    ASSERT_EQ(1u, wizards.size()) << readTextFile(package / "jinstall.log");
    EXPECT_EQ((std::vector<std::string>{"Renamed to " + security + "\\java.security identitydb.001"}),
              linesStartingWith(wizards[0], "changes="));
    EXPECT_FALSE(exists(package / "changes.txt"));
}

} // namespace
