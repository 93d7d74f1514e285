#include <direct.h>

#include <algorithm>

#include "install/Install.h"
#include "util/Wide.h"
#include "support/TestSupport.h"

using namespace qrvtest;

namespace {

// The driver with the settings cleanup reads made settable.
class CleanupDriver : public Install {
public:
    void setHomeDirectory(const std::string& dir) { homeDirectory.set(dir.c_str()); }
    void setPredefinedDir(const char* dir) { predefinedJvmInstallDir.set(dir); }
};

class Cleanup : public InTempDir {
protected:
    void SetUp() override
    {
        _mkdir("pkg");
        _mkdir("start");
        _mkdir("home");
        _chdir("pkg");
        package = dir / "pkg";
        // native.properties holds paths with forward slashes, as the driver writes them
        packageSlashed = package;
        for (char& c : packageSlashed)
            c = c == '\\' ? '/' : c;
        driver.setQuietMode(true);
        driver.setHomeDirectory(dir / "home");
    }
    void TearDown() override { _chdir(dir.path().c_str()); }

    std::string package;
    std::string packageSlashed;
    CleanupDriver driver;
};

} // namespace

TEST_F(Cleanup, ManifestFilesInsideThePackageGoAndOthersStay)
{
    _mkdir("META-INF");
    _mkdir("lib");
    _mkdir("keepdir");
    writeFile("lib\\x.jar", "x");
    writeFile("install.jar", "x");
    writeFile(dir / "outside.txt", "x");
    writeFile(dir / "absolute.txt", "x");
    writeFile("META-INF\\MANIFEST.MF",
              "Manifest-Version: 1.0\r\nName: lib/x.jar   \r\nName: ..\\outside.txt\r\nName: " +
                  (dir / "absolute.txt") + "\r\nName: keepdir\r\nName: .\r\n");
    driver.cleanUp(true);
    EXPECT_FALSE(exists("lib\\x.jar"));
    EXPECT_FALSE(exists("install.jar"));
    EXPECT_FALSE(exists("META-INF"));
    EXPECT_TRUE(exists("keepdir"));
    EXPECT_TRUE(exists(dir / "outside.txt"));
    EXPECT_TRUE(exists(dir / "absolute.txt"));
    EXPECT_TRUE(exists(package));
}

TEST_F(Cleanup, TraceLogOfThisRunGoesAfterSuccessAndStaysAfterFailure)
{
    createTraceLog();
    writeFile("jinstall.sem", "");
    driver.traceMessage("jinstall.log", "a line: the trace is held open");
    driver.cleanUp(true);
    EXPECT_FALSE(exists("jinstall.log"));
    EXPECT_FALSE(exists("jinstall.sem"));

    createTraceLog();
    writeFile("jinstall.sem", "");
    driver.cleanUp(false);
    EXPECT_FALSE(exists("jinstall.sem"));
    ASSERT_TRUE(exists("jinstall.log"));
    EXPECT_EQ("install ok: false", logMessages("jinstall.log").back());

    // a trace log the user asked for (no marker) is kept after success
    driver.cleanUp(true);
    EXPECT_TRUE(exists("jinstall.log"));
}

TEST_F(Cleanup, TemporaryJvmDirectoryIsRemovedOnlyInsideThePackage)
{
    // As the launcher writes the file, and as a wizard may rewrite it: with a UTF-8 mark, in
    // UTF-16.
    const std::string text = "nativeJvmHomeDir=" + packageSlashed + "/jvm\nnativeJvmInstalled="
                             "true\nnativeJvmInstalledInTemp=true\nconfigureWinRegistry=false\n";
    const std::wstring wide = widen(text.c_str());
    const std::string utf16(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    for (const std::string& file : {text, "\xEF\xBB\xBF" + text, "\xFF\xFE" + utf16}) {
        _mkdir("jvm");
        _mkdir("jvm\\bin");
        writeFile("jvm\\bin\\java.exe", "x");
        writeFile("native.properties", file);
        driver.cleanUp(true);
        EXPECT_FALSE(exists("jvm")) << file.substr(0, 3);
        EXPECT_FALSE(exists("native.properties"));
    }

    // a rewritten file naming a directory outside the package: kept
    _mkdir((dir / "elsewhere").c_str());
    writeFile(dir / "elsewhere\\keep.txt", "x");
    writeFile("native.properties", "nativeJvmHomeDir=" + packageSlashed + "/jvm\n"
                                   "nativeJvmInstalledInTemp=TRUE\nnativeTempJvmDir=../elsewhere\n"
                                   "configureWinRegistry=false\n");
    driver.cleanUp(true);
    EXPECT_TRUE(exists(dir / "elsewhere\\keep.txt"));
    EXPECT_TRUE(exists(package));

    // the package directory itself is never removed
    writeFile("native.properties", "nativeJvmInstalledInTemp=true\nnativeTempJvmDir=" + packageSlashed +
                                   "\nconfigureWinRegistry=false\n");
    writeFile("qrv.control", "");
    driver.cleanUp(true);
    EXPECT_TRUE(exists("qrv.control"));

    // not installed in a temporary directory: left alone
    _mkdir("jvm2");
    writeFile("native.properties", "nativeJvmHomeDir=" + packageSlashed + "/jvm2\n"
                                   "nativeJvmInstalledInTemp=false\n");
    driver.cleanUp(true);
    EXPECT_TRUE(exists("jvm2"));
}

TEST_F(Cleanup, AStaleFileNamingAJvmOutsideThePackageRegistersNothing)
{
    RegistryOverride registry;
    const std::string outside = dir / "outside-jvm";
    _mkdir(outside.c_str());
    _mkdir((outside + "\\bin").c_str());
    writeFile(outside + "\\bin\\java.exe", "x");
    std::string slashed = outside;
    for (char& c : slashed)
        c = c == '\\' ? '/' : c;
    writeFile("native.properties", "nativeJvmHomeDir=" + slashed +
                                   "\nnativeJvmInstalledInTemp=true\nconfigureWinRegistry=true\n");
    writeFile("qrv.control", "configureWinRegistry=yes\n");
    driver.cleanUp(true);
    EXPECT_TRUE(exists(outside + "\\bin\\java.exe"));
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft", 0, KEY_READ, &key));
    if (key != nullptr)
        RegCloseKey(key);
}

TEST_F(Cleanup, LogsAreAppendedToTheStartDirectory)
{
    writeFile(dir / "start\\errors.log", "old\n");
    writeFile("errors.log", "new\n");
    writeFile("other.log", "o\n");
    writeFile("qrvpand.log", "");
    writeFile("startdir.txt", (dir / "start") + "  \r\n");
    driver.cleanUp(false);
    EXPECT_EQ("old\nnew\n", readFile(dir / "start\\errors.log"));
    EXPECT_EQ("o\n", readFile(dir / "start\\other.log"));
    EXPECT_FALSE(exists(dir / "start\\qrvpand.log"));
    EXPECT_FALSE(exists("startdir.txt"));

    // a non-empty qrvpand.log is copied; an empty errors.log is deleted first
    writeFile("qrvpand.log", "p\n");
    writeFile("errors.log", "");
    writeFile("startdir.txt", dir / "start");
    driver.cleanUp(false);
    EXPECT_EQ("p\n", readFile(dir / "start\\qrvpand.log"));
    EXPECT_FALSE(exists("errors.log"));
    EXPECT_EQ("old\nnew\n", readFile(dir / "start\\errors.log"));
}

// The logs go to a start directory elsewhere, never onto the package directory itself in any
// spelling (other case, trailing backslash, 8.3 name), nor anywhere without a start directory.
TEST_F(Cleanup, NoCopyWithoutStartDirOrOntoThePackageInAnotherSpelling)
{
    // A long name, so that the package directory has an 8.3 form of its own.
    const std::string longPackage = dir / "a long package directory";
    _mkdir(longPackage.c_str());
    _chdir(longPackage.c_str());
    char shortForm[MAX_PATH] = "";
    ASSERT_NE(0u, GetShortPathNameA(longPackage.c_str(), shortForm, sizeof shortForm));
    ASSERT_NE(longPackage, shortForm);
    std::string lower = longPackage;
    std::string upper = longPackage;
    for (size_t i = 0; i < longPackage.size(); ++i) {
        lower[i] = static_cast<char>(tolower(static_cast<unsigned char>(lower[i])));
        upper[i] = static_cast<char>(toupper(static_cast<unsigned char>(upper[i])));
    }
    const std::pair<std::string, bool> rows[] = {
        {"", false},  // no startdir.txt
        {dir / "start", true},
        {upper, false},
        {longPackage + "\\", false},
        {shortForm, false},
        {lower + "\\", false},
    };
    // Whether the run traced a copy of the logs, to wherever: each layer of the guard counts.
    const auto tracedACopy = [] {
        const auto lines = logMessages("jinstall.log");
        return std::any_of(lines.begin(), lines.end(),
                           [](const std::string& line) { return line.rfind("copying log files to", 0) == 0; });
    };
    for (const auto& [startDir, copied] : rows) {
        SCOPED_TRACE(startDir);
        writeFile("other.log", "o\n");
        createTraceLog();
        DeleteFileA((dir / "start\\other.log").c_str());
        if (!startDir.empty())
            writeFile("startdir.txt", startDir + "\r\n");
        driver.cleanUp(false);
        EXPECT_EQ("o\n", readFile("other.log"));
        EXPECT_EQ(copied, exists(dir / "start\\other.log"));
        EXPECT_EQ(copied, tracedACopy());
    }

    // A start directory that takes nothing sends the logs home, unless home is the package.
    writeFile(dir / "startfile", "x");
    for (const auto& [home, copied] : {std::pair(longPackage, false), std::pair(dir / "home", true)}) {
        SCOPED_TRACE(home);
        driver.setHomeDirectory(home);
        writeFile("other.log", "o\n");
        createTraceLog();
        writeFile("startdir.txt", dir / "startfile");
        driver.cleanUp(false);
        EXPECT_EQ("o\n", readFile("other.log"));
        EXPECT_EQ(copied, exists(dir / "home\\other.log"));
        EXPECT_EQ(copied, tracedACopy());
    }
}

// A link inside the package that leads elsewhere: what lies behind it stays, whether a manifest
// name or the temporary JVM directory passes through it. Only a Unix symbolic link can be made
// under Wine (a junction cannot); Windows programs see it as a directory.
TEST_F(Cleanup, NothingIsDeletedThroughALinkLeadingOutOfThePackage)
{
    const std::string outside = dir / "outside";
    _mkdir(outside.c_str());
    if (!makeUnixLink(package + "\\out", outside))
        GTEST_SKIP() << "no Unix symbolic link can be made here";
    _mkdir((outside + "\\jvm").c_str());
    writeFile(outside + "\\jvm\\java.exe", "x");
    writeFile(outside + "\\victim.txt", "x");
    _mkdir("META-INF");
    writeFile("lib.jar", "x");
    writeFile("META-INF\\MANIFEST.MF", "Name: out/victim.txt\r\nName: lib.jar\r\n");
    writeFile("native.properties", "nativeJvmInstalledInTemp=true\nnativeTempJvmDir=out/jvm\n"
                                   "configureWinRegistry=false\n");
    driver.cleanUp(true);
    EXPECT_TRUE(exists(outside + "\\victim.txt"));
    EXPECT_TRUE(exists(outside + "\\jvm\\java.exe"));
    EXPECT_FALSE(exists("lib.jar"));
}

TEST_F(Cleanup, WriteProtectedStartDirectorySendsLogsHome)
{
    EXPECT_TRUE(driver.isDirWriteProtected(""));
    EXPECT_TRUE(driver.isDirWriteProtected((dir / "missing").c_str()));
    EXPECT_FALSE(driver.isDirWriteProtected((dir / "home").c_str()));
    EXPECT_FALSE(exists(dir / "home\\__qrvtest.zos"));

    // A start directory that cannot be written: named by a file path, which exists but holds
    // no directory to write into.
    writeFile(dir / "startfile", "x");
    writeFile("other.log", "o\n");
    writeFile("startdir.txt", dir / "startfile");
    driver.cleanUp(false);
    EXPECT_EQ("o\n", readFile(dir / "home\\other.log"));
}

TEST_F(Cleanup, ErrorsLogThatCannotBeSavedIsReported)
{
    // Neither the start directory (a file path) nor the home directory (none) takes the logs.
    driver.setHomeDirectory("");
    writeFile(dir / "startfile", "x");
    createTraceLog();  // a trace the user asked for: kept after the run
    writeFile("errors.log", "an error\n");
    writeFile("startdir.txt", dir / "startfile");
    driver.cleanUp(false);
    const auto trace = logMessages("jinstall.log");
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "copying log files to " +
                                                                     (dir / "startfile")));
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "Unable to save errors.log"));
    EXPECT_EQ("an error\n", readFile("errors.log"));
    EXPECT_EQ("x", readFile(dir / "startfile"));

    // Other logs that cannot be saved are not reported.
    std::remove("errors.log");
    createTraceLog();
    writeFile("startdir.txt", dir / "startfile");
    driver.cleanUp(false);
    const auto second = logMessages("jinstall.log");
    EXPECT_EQ(second.end(), std::find(second.begin(), second.end(), "Unable to save errors.log"));
}

TEST_F(Cleanup, NamedTemporaryJvmDirectoryInsideThePackageGoesAndTheHomeStays)
{
    _mkdir("home jvm");
    _mkdir("tmpjvm");
    _mkdir("tmpjvm\\bin");
    writeFile("tmpjvm\\bin\\java.exe", "x");
    createTraceLog();
    writeFile("native.properties", "nativeJvmHomeDir=" + packageSlashed + "/home jvm\n"
                                   "nativeJvmInstalledInTemp=true\n"
                                   "nativeTempJvmDir=sub/../tmpjvm\n"
                                   "configureWinRegistry=false\n");
    driver.cleanUp(false);
    EXPECT_FALSE(exists("tmpjvm"));
    EXPECT_TRUE(exists("home jvm"));
    const auto trace = logMessages("jinstall.log");
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "tempJvmDir sub\\..\\tmpjvm"));
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "configureReg: false"));
}

TEST_F(Cleanup, JvmInTheAppDirIsNotRegisteredAgain)
{
    _mkdir("jvm");
    driver.setPredefinedDir("[$AppDir]\\jvm");
    createTraceLog();
    writeFile("native.properties", "nativeJvmHomeDir=" + packageSlashed + "/jvm\n"
                                   "nativeJvmInstalledInTemp=true\n");
    driver.cleanUp(false);
    EXPECT_FALSE(exists("jvm"));
    const auto trace = logMessages("jinstall.log");
    EXPECT_NE(trace.end(),
              std::find(trace.begin(), trace.end(), "not adding reg entries [$AppDir]\\jvm"));
}
