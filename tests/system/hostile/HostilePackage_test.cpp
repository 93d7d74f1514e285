// Hostile and broken packages: the built launcher runs quietly as a child in a package directory
// and must end every run with its verdict (exit code 0 or 1, never a crash code), in time, with
// the reason in errors.log, and with nothing outside the package directory changed.
#include "support/Package.h"
#include "system/SystemSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

constexpr DWORD RunLimitMs = 90000;
constexpr const char* NotFound = "was not found on your system.";

// A package directory at <temp>\a\<name>, with watched files beside it: <temp>\x and
// <temp>\outside\keep.txt must come through every run unchanged.
class Hostile : public ::testing::Test {
protected:
    void SetUp() override
    {
        usePackage("pkg");
        makeDirs(dir / "outside");
    }

    void usePackage(const std::string& name)
    {
        pkg = dir / ("a\\" + name);
        makeDirs(pkg);
        ASSERT_TRUE(GetFileAttributesA(pkg.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << pkg;
    }

    void TearDown() override
    {
        SetFileAttributesA(pkg.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(file("qrv.control").c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    std::string file(const std::string& name) const { return pkg + "\\" + name; }
    // The package's files laid out by the shared builder; the launcher runs from the build.
    Package package() const { return Package(pkg, false); }
    // A file of the package read by its name from within the package: its full name may be
    // longer than the runtime's file functions take.
    std::string packageFile(const std::string& name) const
    {
        char saved[MAX_PATH * 4];
        const DWORD length = GetCurrentDirectoryA(sizeof saved, saved);
        if (!SetCurrentDirectoryA(pkg.c_str()))
            return "";
        const std::string text = exists(name) ? readFile(name) : "";
        if (length > 0 && length < sizeof saved)
            SetCurrentDirectoryA(saved);
        return text;
    }
    void put(const std::string& name, const std::string& text) { writeFile(file(name), text); }

    // A stand-in JVM of version 1.6.0_20 under <temp>\jre 1.6\bin, outside the package.
    std::string fakeJvm(const std::string& testRun = "good", const std::string& wizard = "create",
                        const std::string& extra = "")
    {
        const std::string home = dir / "jre 1.6";
        placeStandinJvm(home + "\\bin", "1.6.0_20", testRun, wizard, extra);
        return home;
    }

    // A stand-in JVM registered as version 1.6.
    void registerJvm(JvmKeys& keys, const std::string& testRun = "good",
                     const std::string& wizard = "create", const std::string& extra = "")
    {
        const std::string home = fakeJvm(testRun, wizard, extra);
        keys.setString("1.6", "JavaHome", home);
        keys.setString("1.6", "MicroVersion", "0");
        keys.closeAll();
    }

    // The files of a package whose wizard runs on a registered 1.6 JVM.
    void mainRoadPackage()
    {
        package().wizardFiles("jvmRequiredVersion=1.6\r\njvmCommandName=java.exe\r\n");
    }

    // Runs setup.exe -q in the package and checks what every run must hold.
    RunResult run(const std::string& details = "x")
    {
        writeFile(dir / "x", "watched");
        writeFile(dir / "outside\\keep.txt", "watched");
        const std::vector<std::string> before =
            treeOf(dir / "outside", TreeView::NamesSizesAttributes);
        const RunResult result =
            runProgram("\"" + builtProgram("setup.exe") + "\" -q " + details, pkg, RunLimitMs);
        EXPECT_TRUE(result.started);
        EXPECT_TRUE(result.finished) << "the launcher hung";
        // 0 from the stand-in wizard or a failure code of the launcher; never a crash's code.
        EXPECT_TRUE(result.exitCode == 0 || (result.exitCode >= 16 && result.exitCode <= 19))
            << "exit code " << std::hex << result.exitCode;
        EXPECT_EQ("watched", readFile(dir / "x"));
        EXPECT_EQ(before, treeOf(dir / "outside", TreeView::NamesSizesAttributes));
        return result;
    }

    // A run that must fail with `reason` in errors.log.
    void expectFailure(const std::string& reason)
    {
        const RunResult result = run();
        EXPECT_NE(0u, result.exitCode) << "a failed run reported as a success";
        const std::string errors = packageFile("errors.log");
        EXPECT_NE(std::string::npos, errors.find(reason))
            << "exit code " << result.exitCode << "\n" << errors << packageFile("jinstall.log");
    }

    TempDir dir;
    std::string pkg;
};

// Control files that cannot be read or carry nothing usable.
TEST_F(Hostile, NoControlFile)
{
    put("install.jar", "");
    expectFailure("Unable to install application.");
}

TEST_F(Hostile, EmptyControlFile)
{
    put("qrv.control", "");
    expectFailure(NotFound);
}

TEST_F(Hostile, BinaryGarbageWithNulBytes)
{
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += static_cast<char>((i * 7919 + i / 13) & 0xff);
    garbage += std::string("\0jvmHomeDir=\0\0\xff\n", 17);
    put("qrv.control", garbage);
    expectFailure(NotFound);
}

TEST_F(Hostile, LinesOf100000Characters)
{
    std::string text;
    for (const char* key : {"jvmRequiredVersion=", "jvmCommandName=", "jvmHomeDir=",
                            "jvmExtraParameters=", "loaderClasspath=", "nokey"})
        text += key + std::string(100000, 'q') + "\n";
    put("qrv.control", text);
    expectFailure(NotFound);
}

TEST_F(Hostile, EveryValueLongerThanItsBuffer)
{
    std::string text;
    for (const char* key :
         {"jvmRequiredVersion", "jvmMinVersion", "jvmMaxVersion", "jvmVersion", "jvmName",
          "jvmCommandName", "jvmInstallerType", "jvmSelfExtractor", "jvmInstallerBinary",
          "jvmInstallerCommand", "predefinedJvmInstallDir", "jvmHomeDir", "jvmExtraParameters",
          "jvmClasspathSwitch", "loaderClasspath", "loaderJavaCommand",
          "systemSecurityPolicyFilename", "userSecurityPolicyFilename", "keystoreFilename",
          "appletUrl", "searchForJvm", "configureWinRegistry"})
        text += std::string(key) + "=" + std::string(4990, 'v') + "\\\\/:" +
                std::string(100, '\\') + "\n";
    put("qrv.control", text);
    expectFailure(NotFound);
}

TEST_F(Hostile, CrOnlyLineEnds)
{
    put("qrv.control", "jvmRequiredVersion=9.9\rjvmCommandName=java.exe\rsearchForJvm=NONE\r");
    expectFailure(NotFound);
}

TEST_F(Hostile, ReadOnlyControlFile)
{
    put("qrv.control", "jvmRequiredVersion=9.9\r\nsearchForJvm=NONE\r\n");
    SetFileAttributesA(file("qrv.control").c_str(), FILE_ATTRIBUTE_READONLY);
    expectFailure(NotFound);
}

TEST_F(Hostile, ReadOnlyPackageDirectory)
{
    put("qrv.control", "jvmRequiredVersion=9.9\nsearchForJvm=NONE\n");
    SetFileAttributesA(pkg.c_str(), FILE_ATTRIBUTE_READONLY);
    expectFailure(NotFound);
}

// Package directories with awkward paths.
TEST_F(Hostile, PackagePathOf250Characters)
{
    const size_t used = (dir / "a\\").size();
    ASSERT_LT(used, 200u);
    usePackage(std::string(250 - used, 'p'));
    ASSERT_EQ(250u, pkg.size());
    put("qrv.control", "jvmRequiredVersion=9.9\nsearchForJvm=NONE\n");
    expectFailure(NotFound);
    // The files' full names are too long for the temporary directory's removal: they go by
    // their names from within the package.
    char saved[MAX_PATH * 4];
    const DWORD length = GetCurrentDirectoryA(sizeof saved, saved);
    ASSERT_TRUE(length > 0 && length < sizeof saved);
    ASSERT_TRUE(SetCurrentDirectoryA(pkg.c_str()));
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("*", &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(data.cFileName);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    SetCurrentDirectoryA(saved);
    EXPECT_TRUE(RemoveDirectoryA(pkg.c_str()));
}

TEST_F(Hostile, BlanksNonAsciiCharactersAndParenthesesInThePath)
{
    usePackage("my pkg (x86) \xe9\xfc\xe6 [1]");
    JvmKeys keys;
    registerJvm(keys);
    mainRoadPackage();
    const RunResult result = run();
    EXPECT_EQ(0u, result.exitCode) << readFile(file("errors.log"));
}

// Registered JVMs that answer badly.
TEST_F(Hostile, TestRunWritingNothing)
{
    JvmKeys keys;
    registerJvm(keys, "nothing");
    mainRoadPackage();
    expectFailure("Jvm isn't installed properly.");
}

TEST_F(Hostile, TestRunWritingGarbage)
{
    JvmKeys keys;
    registerJvm(keys, "garbage");
    mainRoadPackage();
    expectFailure("Jvm isn't installed properly.");
}

TEST_F(Hostile, WizardThatNeverCreatesItsSemaphore)
{
    JvmKeys keys;
    registerJvm(keys, "good", "none");
    mainRoadPackage();
    expectFailure("Java wizard not started properly");
}

// Broken registries.
TEST_F(Hostile, TwoHundredVersionKeys)
{
    JvmKeys keys;
    for (int i = 0; i < 200; ++i)
        keys.setString("1." + std::to_string(i) + ".0", "JavaHome", dir / ("nowhere" + std::to_string(i)));
    package().wizardFiles("jvmRequiredVersion=9.9\n");
    expectFailure(NotFound);
}

TEST_F(Hostile, EmptyKeyNamesWrongValueTypesAndStringsWithoutNul)
{
    JvmKeys keys;
    const DWORD number = 7;
    if (HKEY key = keys.version("1.6"))
        JvmKeys::setRaw(key, "JavaHome", REG_DWORD, &number, sizeof number);
    if (HKEY key = keys.version("1.5"))
        JvmKeys::setRaw(key, "JavaHome", REG_BINARY, "\x01\x02\x03\x00\xff", 5);
    const std::string unterminated(300, 'C');
    if (HKEY key = keys.version("1.4"))
        JvmKeys::setRaw(key, "JavaHome", REG_SZ, unterminated.data(), unterminated.size());
    if (HKEY key = keys.version("1.3"))
        JvmKeys::setRaw(key, "JavaHome", REG_SZ, "", 0);
    if (HKEY key = keys.version(""))
        JvmKeys::setRaw(key, "", REG_SZ, "x", 2);
    if (HKEY key = keys.version("1.7"))
        JvmKeys::setRaw(key, "JavaHome", REG_MULTI_SZ, "a\0b\0", 5);
    keys.closeAll();
    package().wizardFiles("jvmMinVersion=1.0\n");
    expectFailure(NotFound);
}

TEST_F(Hostile, JavaHomeThatIsAFileAMissingDriveOrAHugeDirectory)
{
    writeFile(dir / "homefile", "not a directory");
    const std::string huge = dir / "huge";
    makeDirs(huge + "\\bin");
    for (int i = 0; i < 3000; ++i)
        writeFile(huge + "\\bin\\f" + std::to_string(i) + ".txt", "");
    JvmKeys keys;
    keys.setString("1.6", "JavaHome", dir / "homefile");
    keys.setString("1.6.1", "JavaHome", "Q:\\missing\\drive");
    keys.setString("1.6.2", "JavaHome", huge);
    mainRoadPackage();
    expectFailure(NotFound);
}

TEST_F(Hostile, PathOf32000CharactersWithEmptyEntries)
{
    std::string path = ";;";
    while (path.size() < 32000)
        path += "C:\\no\\such\\dir;;;";
    path.resize(32000);
    char saved[32768];
    const DWORD savedLength = GetEnvironmentVariableA("PATH", saved, sizeof saved);
    ASSERT_TRUE(SetEnvironmentVariableA("PATH", path.c_str()));
    put("qrv.control", "jvmRequiredVersion=9.9\n");
    expectFailure(NotFound);
    SetEnvironmentVariableA("PATH", savedLength > 0 && savedLength < sizeof saved ? saved : nullptr);
}

// Start directories that the logs cannot go to: the logs stay in the package.
TEST_F(Hostile, StartDirectoryMissingAFileOrThePackageItself)
{
    writeFile(dir / "outside\\startfile", "watched");
    for (const std::string& start :
         {dir / "outside\\missing", dir / "outside\\startfile", pkg}) {
        SCOPED_TRACE(start);
        DeleteFileA(file("errors.log").c_str());
        put("qrv.control", "jvmRequiredVersion=9.9\nsearchForJvm=NONE\n");
        put("startdir.txt", start + "\r\n");
        expectFailure(NotFound);
    }
}

// A manifest naming files outside the package: none of them is touched.
TEST_F(Hostile, ManifestNamingFilesOutsideThePackage)
{
    const std::string outside = dir / "outside\\keep.txt";
    makeDirs(file("META-INF"));
    put("META-INF\\MANIFEST.MF", "Manifest-Version: 1.0\r\nName: ..\\..\\x\r\nName: ../../x\r\n"
                                 "Name: " + outside + "\r\nName: " + (dir / "outside") +
                                 "\r\nName: META-INF\r\nName: \r\n");
    put("qrv.control", "jvmRequiredVersion=9.9\nsearchForJvm=NONE\n");
    expectFailure(NotFound);
}

// A properties file left with a temporary JVM directory outside the package: it stays.
TEST_F(Hostile, NativePropertiesNamingATemporaryJvmOutside)
{
    std::string outside = dir / "outside";
    std::replace(outside.begin(), outside.end(), '\\', '/');
    put("native.properties", "nativeJvmInstalledInTemp=true\nnativeTempJvmDir=" + outside +
                                 "\nnativeJvmHomeDir=" + outside + "\n");
    put("qrv.control", "jvmRequiredVersion=9.9\nsearchForJvm=NONE\n");
    expectFailure(NotFound);
}

// Packaged JVM programs that crash: the run fails with its reason and the JVM directory that it
// created inside the package is the only trace.
TEST_F(Hostile, ExpanderThatCrashes)
{
    package().expander("expander.exe", "crash=1\n");
    put("qrv.control", "jvmRequiredVersion=9.9\njvmVersion=9.9.0\njvmName=MyJvm\n"
                       "jvmInstallerType=selfExtratorJvmInstaller\njvmSelfExtractor=expander.exe\n"
                       "predefinedJvmInstallDir=[$AppDir]\\jvm\n");
    put("install.jar", "");
    expectFailure("Unable to install MyJvm 9.9.0.");
    EXPECT_TRUE(exists(file("fakeexpander.record"))) << "the expander never ran";
}

TEST_F(Hostile, VendorInstallerThatCrashes)
{
    package().copyBuilt("fakevendor.exe", "vendor.exe");
    const std::string ini = dir / "vendor.ini";
    writeFile(ini, "crash=1\nrecord=" + (dir / "vendor.record") + "\n");
    const EnvOverride vendorIni("QRV_FAKEVENDOR_INI", ini);
    put("qrv.control", "jvmRequiredVersion=9.9\njvmVersion=9.9.0\njvmName=MyJvm\n"
                       "jvmInstallerType=thirdPartyJvmInstaller\njvmInstallerBinary=vendor.exe\n"
                       "jvmInstallerCommand=vendor.exe/*/*/*-s\n"
                       "predefinedJvmInstallDir=[$AppDir]\\jvm\n");
    put("install.jar", "");
    expectFailure("Unable to install MyJvm 9.9.0.");
    EXPECT_TRUE(exists(dir / "vendor.record")) << "the vendor installer never ran";
}

// The wizard rewrites native.properties to name a temporary JVM directory outside the package:
// the cleanup leaves that directory alone.
TEST_F(Hostile, WizardNamingATemporaryJvmOutside)
{
    for (const std::string& outside : {dir / "outside", (dir / "outside").substr(0, 3)}) {
        SCOPED_TRACE(outside);
        std::string slashed = outside;
        std::replace(slashed.begin(), slashed.end(), '\\', '/');
        JvmKeys keys;
        registerJvm(keys, "good", "create", "nativetemp=" + slashed + "\n");
        mainRoadPackage();
        const RunResult result = run();
        EXPECT_EQ(0u, result.exitCode) << packageFile("errors.log");
    }
}

TEST_F(Hostile, DetailsOf30000Characters)
{
    JvmKeys keys;
    registerJvm(keys);
    mainRoadPackage();
    const RunResult result = run(std::string(30000, 'd'));
    EXPECT_EQ(0u, result.exitCode) << readFile(file("errors.log"));
}

} // namespace
