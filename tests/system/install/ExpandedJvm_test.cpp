// The launcher as a user runs it, on a machine without a JVM: a package carrying a
// self-expanding JVM. Runs against the prefix's real registry and Windows directory; everything
// touched there is put back afterwards.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "jvm/discovery/JvmSupport.h"
#include "system/SystemSupport.h"

using namespace qrvtest;
using namespace systemtest;
using jvmtest::jvmStarts;

namespace {

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

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

std::string windowsDirectory()
{
    char buffer[MAX_PATH * 4];
    const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

// The properties lines that each wizard start of the stand-in JVM in `bin` saw.
std::vector<std::vector<std::string>> wizardViews(const std::string& bin)
{
    std::vector<std::vector<std::string>> views;
    for (const RecordedStart& start : jvmStarts(bin)) {
        const std::vector<std::string> native = linesStartingWith(start, "native=");
        if (!native.empty())
            views.push_back(native);
    }
    return views;
}

int expanderStarts(const std::string& package)
{
    return static_cast<int>(recordedStarts(package + "\\fakeexpander.record").size());
}

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
    const std::string package = dir / "package";
    const std::string jvmDir = dir / "jvms\\1.3.1";
    makeDirs(package);
    // The package as it arrives on the machine; the run's cleanup consumes some of its files.
    const auto layOutPackage = [&] {
        copyFile(builtProgram("fakeexpander.exe"), package + "\\jre131.exe");
        copyFile(builtProgram("TestJvm.class"), package + "\\TestJvm.class");
        writeFile(package + "\\fakeexpander.ini",
                  "jvm=" + builtProgram("fakejvm.exe") + "\nversion=1.3.1\nlayout=bin\n");
        writeFile(package + "\\install.jar", "");
        writeFile(package + "\\qrv.control", "jvmMinVersion=1.3\r\n"
                                             "jvmVersion=1.3.1\r\n"
                                             "jvmName=JRE\r\n"
                                             "jvmCommandName=java.exe\r\n"
                                             "jvmInstallerType=selfExtratorJvmInstaller\r\n"
                                             "jvmSelfExtractor=jre131.exe\r\n"
                                             "predefinedJvmInstallDir=" +
                                                 forwardSlashes(jvmDir) + "\r\n");
    };
    layOutPackage();
    const std::string setup = "\"" + builtProgram("setup.exe") + "\" -q x";

    const RunResult first = runProgram(setup, package, 120000);
    ASSERT_TRUE(first.started);
    ASSERT_TRUE(first.finished);
    EXPECT_EQ(0u, first.exitCode) << readTextFile(package + "\\errors.log");

    EXPECT_EQ(1, expanderStarts(package));
    ASSERT_TRUE(exists(jvmDir + "\\bin\\java.exe"));
    std::string value;
    EXPECT_TRUE(getRegString(HKEY_LOCAL_MACHINE, JreKey, "CurrentVersion", value));
    EXPECT_EQ("1.3", value);
    for (const char* version : {"1.3", "1.3.1"}) {
        SCOPED_TRACE(version);
        value.clear();
        EXPECT_TRUE(getRegString(HKEY_LOCAL_MACHINE, std::string(JreKey) + "\\" + version,
                                 "JavaHome", value));
        EXPECT_EQ(lower(jvmDir), value);
    }
    for (const char* launcher : {"java.exe", "javaw.exe"}) {
        const std::string path = windows + "\\" + launcher;
        EXPECT_TRUE(exists(path)) << path;
        if (launchers.isNew(path)) {
            EXPECT_EQ(readFile(jvmDir + "\\bin\\" + launcher), readFile(path)) << path;
        }
    }

    std::vector<std::vector<std::string>> views = wizardViews(jvmDir + "\\bin");
    ASSERT_EQ(1u, views.size());
    const std::vector<std::string> installed = {
        "nativeJvmHomeDir=" + forwardSlashes(jvmDir), "nativeJvmInstalled=true",
        "nativeJvmInstalledInTemp=false", "configureWinRegistry=true"};
    EXPECT_EQ(installed, views[0]);

    // The same package once more: the registered JVM is found, nothing is expanded.
    layOutPackage();
    const RunResult second = runProgram(setup, package, 120000);
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(0u, second.exitCode) << readTextFile(package + "\\errors.log");
    EXPECT_EQ(1, expanderStarts(package));
    views = wizardViews(jvmDir + "\\bin");
    ASSERT_EQ(2u, views.size());
    // This time the home comes from the registry, which holds it in lower case.
    EXPECT_EQ("nativeJvmHomeDir=" + lower(forwardSlashes(jvmDir)), views[1].at(0));
    EXPECT_EQ("nativeJvmInstalled=false", views[1].at(1));
}

} // namespace
