// The launcher as a user runs it, on a machine without a JVM: a package carrying a
// self-expanding JVM. Runs against the prefix's real registry and Windows directory; everything
// touched there is put back afterwards.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "support/TestSupport.h"

using namespace qrvtest;

namespace {

const char* const JreEntry = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char* const BackupRoot = "Software\\QrvSystemTestBackup";

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string forwardSlashes(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// Moves a machine key (with its subkeys) aside for the test's lifetime: the key is deleted at
// the start and at the end, and what was there before is copied back.
class SavedMachineKey {
public:
    SavedMachineKey(std::string key, std::string backup)
        : key_(std::move(key)), backup_(std::string(BackupRoot) + "\\" + std::move(backup))
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());
        HKEY source = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, &source) ==
            ERROR_SUCCESS) {
            HKEY target = nullptr;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, backup_.c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &target, nullptr) == ERROR_SUCCESS) {
                saved_ = RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
                RegCloseKey(target);
            }
            RegCloseKey(source);
        }
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key_.c_str());
    }
    ~SavedMachineKey()
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key_.c_str());
        if (saved_) {
            HKEY source = nullptr;
            HKEY target = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, backup_.c_str(), 0, KEY_READ, &source) ==
                ERROR_SUCCESS) {
                if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0,
                                    KEY_ALL_ACCESS, nullptr, &target, nullptr) == ERROR_SUCCESS) {
                    RegCopyTreeA(source, nullptr, target);
                    RegCloseKey(target);
                }
                RegCloseKey(source);
            }
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, backup_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, BackupRoot);
    }
    SavedMachineKey(const SavedMachineKey&) = delete;
    SavedMachineKey& operator=(const SavedMachineKey&) = delete;

private:
    std::string key_;
    std::string backup_;
    bool saved_ = false;
};

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
    if (!exists(bin + "\\fakejvm.record"))
        return views;
    bool wizard = false;
    for (const std::string& line : readLines(bin + "\\fakejvm.record")) {
        if (line == "start") {
            wizard = false;
        } else if (line.compare(0, 7, "native=") == 0) {
            if (!wizard)
                views.emplace_back();
            wizard = true;
            views.back().push_back(line.substr(7));
        }
    }
    return views;
}

int expanderStarts(const std::string& package)
{
    if (!exists(package + "\\fakeexpander.record"))
        return 0;
    const std::vector<std::string> lines = readLines(package + "\\fakeexpander.record");
    return static_cast<int>(std::count(lines.begin(), lines.end(), std::string("start")));
}

TEST(ExpandedJvm, AMachineWithoutAJvmGetsThePackagedOneAndASecondRunFindsIt)
{
    TempDir dir;
    // No JavaSoft keys in either registry view while the test runs.
    SavedMachineKey javaSoft("SOFTWARE\\JavaSoft", "JavaSoft");
    SavedMachineKey javaSoft32("SOFTWARE\\Wow6432Node\\JavaSoft", "Wow6432Node");
    const std::string windows = windowsDirectory();
    ASSERT_FALSE(windows.empty());
    const NewFilesRemoved launchers({windows + "\\java.exe", windows + "\\javaw.exe",
                                     windows + "\\system\\msvcrt.dll"});

    // The JVM goes into a directory of the sandbox rather than the machine's program folder.
    const std::string package = dir / "package";
    const std::string jvmDir = dir / "jvms\\1.3.1";
    CreateDirectoryA(package.c_str(), nullptr);
    // The package as it arrives on the machine; the run's cleanup consumes some of its files.
    const auto layOutPackage = [&] {
        CopyFileA(builtProgram("fakeexpander.exe").c_str(), (package + "\\jre131.exe").c_str(),
                  FALSE);
        CopyFileA(builtProgram("TestJvm.class").c_str(), (package + "\\TestJvm.class").c_str(),
                  FALSE);
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
    EXPECT_TRUE(getRegString(HKEY_LOCAL_MACHINE, JreEntry, "CurrentVersion", value));
    EXPECT_EQ("1.3", value);
    for (const char* version : {"1.3", "1.3.1"}) {
        SCOPED_TRACE(version);
        value.clear();
        EXPECT_TRUE(getRegString(HKEY_LOCAL_MACHINE, std::string(JreEntry) + "\\" + version,
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
