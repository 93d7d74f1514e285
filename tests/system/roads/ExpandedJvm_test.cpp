// The launcher as a user runs it, on a machine without a JVM: a package carrying a
// self-expanding JVM. Runs against the prefix's real registry and Windows directory; everything
// touched there is put back afterwards.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "support/LogCheck.h"
#include "support/Package.h"
#include "system/SystemSupport.h"

using namespace qrvtest;
using namespace systemtest;

namespace {

// Files that the run may place in the Windows directory; those that were not there before are
// removed at the end.
class NewFilesRemoved {
public:
    explicit NewFilesRemoved(std::vector<std::string> paths)
    {
        for (std::string& path : paths) {
            if (!exists(path))
                created_.push_back(std::move(path));
        }
    }
    ~NewFilesRemoved()
    {
        for (const std::string& path : created_)
            DeleteFileA(path.c_str());
    }
    NewFilesRemoved(const NewFilesRemoved&) = delete;
    NewFilesRemoved& operator=(const NewFilesRemoved&) = delete;

    bool isNew(const std::string& path) const
    {
        return std::find(created_.begin(), created_.end(), path) != created_.end();
    }

private:
    std::vector<std::string> created_;
};

TEST(ExpandedJvm, AMachineWithoutAJvmGetsThePackagedOneAndASecondRunFindsIt)
{
    TempDir dir;
    // No JavaSoft keys in either registry view while the test runs.
    const MachineWithoutJvms machine;
    const std::string windows = windowsDirectory();
    ASSERT_FALSE(windows.empty());
    const NewFilesRemoved launchers({windows + "\\java.exe", windows + "\\javaw.exe",
                                     windows + "\\system\\msvcrt.dll"});

    // The JVM goes into a directory of the sandbox rather than the machine's program folder.
    Package package(dir / "package", false);
    const std::string jvmDir = dir / "jvms\\1.3.1";
    // The package as it arrives on the machine; the run's cleanup consumes some of its files.
    const auto layOutPackage = [&] {
        package.expander("jre131.exe", "version=1.3.1\nlayout=bin\n");
        package.wizardFiles("jvmMinVersion=1.3\r\njvmVersion=1.3.1\r\njvmName=JRE\r\n"
                            "jvmCommandName=java.exe\r\njvmInstallerType=selfExtratorJvmInstaller\r\n"
                            "jvmSelfExtractor=jre131.exe\r\npredefinedJvmInstallDir=" +
                            forwardSlashes(jvmDir) + "\r\n");
    };
    layOutPackage();
    package.put("jinstall.log", "");
    {
        // The packaged program is held at its start for a moment: the start waits for it.
        const HeldFile lock(package / "jre131.exe", 0, package / "jinstall.log", false);
        ASSERT_NO_FATAL_FAILURE(package.run("-q x", 120000));
    }
    EXPECT_EQ(0u, package.exitCode()) << package.errorsText();
    EXPECT_TRUE(contains(package.trace(),
                         "waiting for " + package / "jre131.exe" + ": held by another program"));

    EXPECT_EQ(1u, package.starts("fakeexpander").size());
    ASSERT_TRUE(exists(jvmDir + "\\bin\\java.exe"));
    for (const char* launcher : {"java.exe", "javaw.exe"}) {
        const std::string path = windows + "\\" + launcher;
        EXPECT_TRUE(exists(path)) << path;
        if (launchers.isNew(path)) {
            EXPECT_EQ(readFile(jvmDir + "\\bin\\" + launcher), readFile(path)) << path;
        }
    }

    std::vector<RecordedStart> wizards = wizardStarts(jvmDir + "\\bin");
    ASSERT_EQ(1u, wizards.size());
    const std::vector<std::string> installed = {
        "nativeJvmHomeDir=" + forwardSlashes(jvmDir), "nativeJvmInstalled=true",
        "nativeJvmInstalledInTemp=false", "configureWinRegistry=true"};
    EXPECT_EQ(installed, linesStartingWith(wizards[0], "native="));

    // The same package once more: the JVM registered by the first run is found, nothing is
    // expanded.
    layOutPackage();
    ASSERT_NO_FATAL_FAILURE(package.run("-q x", 120000));
    EXPECT_EQ(0u, package.exitCode()) << package.errorsText();
    EXPECT_EQ(1u, package.starts("fakeexpander").size());
    wizards = wizardStarts(jvmDir + "\\bin");
    ASSERT_EQ(2u, wizards.size());
    // This time the home comes from the registry, which holds it in lower case.
    const std::vector<std::string> native = linesStartingWith(wizards[1], "native=");
    ASSERT_EQ(4u, native.size());
    EXPECT_EQ("nativeJvmHomeDir=" + lower(forwardSlashes(jvmDir)), native[0]);
    EXPECT_EQ("nativeJvmInstalled=false", native[1]);
}

// The JVM directory on a disk with 64 KB free: the expansion leaves a truncated program, and the
// failed JVM leaves nothing of the run: no key, no directory, the free space named.
TEST(ExpandedJvm, AFullDiskLeavesNoBrokenJvmRegistered)
{
    TempDir dir;
    const MachineWithoutJvms machine;
    const FullDisk disk;
    ASSERT_TRUE(disk.mounted() && disk.fill(64));
    Package package(dir / "package", false);
    package.expander("jre131.exe", "version=1.3.1\nlayout=bin\n");
    package.wizardFiles("jvmMinVersion=1.3\r\njvmVersion=1.3.1\r\njvmName=JRE\r\n"
                        "jvmInstallerType=selfExtratorJvmInstaller\r\n"
                        "jvmSelfExtractor=jre131.exe\r\npredefinedJvmInstallDir=Q:/jvms/1.3.1\r\n");
    package.put("jinstall.log", "");
    ASSERT_NO_FATAL_FAILURE(package.run("-q x", 120000));

    EXPECT_EQ(17u, package.exitCode()) << package.errorsText();
    EXPECT_EQ(1u, package.starts("fakeexpander").size());
    EXPECT_FALSE(keyExists("SOFTWARE\\JavaSoft\\Java Runtime Environment"));
    EXPECT_FALSE(exists("Q:\\jvms"));
    EXPECT_TRUE(contains(package.trace(), "registration of the failed jvm taken back: true"));
    EXPECT_NE(std::string::npos, package.errorsText().find("free space: Q:\\ "));
}

} // namespace
