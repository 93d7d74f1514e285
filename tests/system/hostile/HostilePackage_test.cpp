// How a quiet run ends, told by its exit code alone as deployment tools read it, for ordinary and
// for hostile and broken packages: the built launcher runs as a child in a package directory and
// must end every run in time with its exact code, the reason in errors.log, and nothing outside
// the package directory changed. Rows whose verdict could come from ignoring their input have a
// JVM registered that a wrong reading would take, or a reason that names what the package asked.
#include "support/Package.h"
#include "system/SystemSupport.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

constexpr DWORD RunLimitMs = 90000;
constexpr const char* Wants99 = "You need version 9.9, ";
constexpr const char* NotInstalled = "Jvm isn't installed properly.";
constexpr const char* NotStarted = "Java wizard not started properly";
constexpr const char* ReadOnly = "cannot be written.";
constexpr const char* DefaultVersion = "You need version 1.4, ";
constexpr const char* NoSearch = "jvmRequiredVersion=9.9\nsearchForJvm=NONE\n";

// A package directory at <temp>\a\<name>, with watched files beside it: <temp>\x and
// <temp>\outside\keep.txt must come through every run unchanged.
class Hostile : public ::testing::Test {
protected:
    void SetUp() override { makeDirs(dir / "outside"); }

    void usePackage(const std::string& name)
    {
        pkg = dir / ("a\\" + name);
        makeDirs(pkg);
        ASSERT_TRUE(GetFileAttributesA(pkg.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << pkg;
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

    // A stand-in JVM of version 1.6.0_20 under <temp>\jre 1.6\bin, outside the package,
    // registered as version 1.6.
    void registerJvm(const std::string& testRun = "good", const std::string& wizard = "create",
                     const std::string& extra = "")
    {
        const std::string home = dir / "jre 1.6";
        placeStandinJvm(home + "\\bin", "1.6.0_20", testRun, wizard, extra);
        keys->setString("1.6", "JavaHome", home);
        keys->setString("1.6", "MicroVersion", "0");
        keys->closeAll();
    }

    // The files of a package whose wizard runs on the registered 1.6 JVM.
    void mainRoadPackage()
    {
        package().wizardFiles("jvmRequiredVersion=1.6\r\njvmCommandName=java.exe\r\n");
    }

    // Runs setup.exe -q in the package and checks what every run must hold.
    RunResult run(const std::string& details)
    {
        writeFile(dir / "x", "watched");
        writeFile(dir / "outside\\keep.txt", "watched");
        const std::vector<std::string> before =
            treeOf(dir / "outside", TreeView::NamesSizesAttributes);
        const RunResult result =
            runProgram("\"" + builtProgram("setup.exe") + "\" -q " + details, pkg, RunLimitMs);
        EXPECT_TRUE(result.started);
        EXPECT_TRUE(result.finished) << "the launcher hung";
        EXPECT_EQ("watched", readFile(dir / "x"));
        EXPECT_EQ(before, treeOf(dir / "outside", TreeView::NamesSizesAttributes));
        return result;
    }

    // The files of a package whose name is too long for the temporary directory's removal go
    // by their names from within the package.
    void removeLongPackage()
    {
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

    struct Row {
        const char* what;
        std::function<void()> layout;  // the package in `pkg` and the machine around it
        DWORD code;
        const char* reason;  // in errors.log; "" for a run that logs no error
        std::string details = "x";
        std::function<void()> check = [] {};  // what else the row must leave
    };

    // Each row in a package of its own, with the machine's JVM keys put back afterwards.
    void expectVerdicts(const std::vector<Row>& rows)
    {
        int number = 0;
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            usePackage("p" + std::to_string(++number));
            keys.emplace();
            row.layout();
            // A failed layout (its ASSERT left only the lambda) ends the table; one that this
            // machine cannot make is skipped, with its reason.
            if (HasFatalFailure() || !skipReason.empty()) {
                skipped += skipReason.empty() ? "" : row.what + (": " + skipReason + "; ");
                skipReason.clear();
                locked.reset();
                env.reset();
                keys.reset();
                if (HasFatalFailure())
                    return;
                continue;
            }
            // An unwritable package's logs go to a folder under TEMP.
            const std::string logs = locked ? freshLogFolder(pkg) : "";
            const RunResult result = run(row.details);
            const std::string lockedErrors = logs + "\\errors.log";
            const std::string errors = !locked                 ? packageFile("errors.log")
                                       : exists(lockedErrors) ? readFile(lockedErrors)
                                                              : "";
            if (locked)
                freshLogFolder(pkg);
            locked.reset();
            env.reset();
            keys.reset();
            SetFileAttributesA(file("qrv.control").c_str(), FILE_ATTRIBUTE_NORMAL);
            EXPECT_EQ(row.code, result.exitCode) << errors << packageFile("jinstall.log");
            if (*row.reason == '\0')
                EXPECT_EQ("", errors);
            else
                EXPECT_NE(std::string::npos, errors.find(row.reason)) << errors;
            row.check();
            if (pkg.size() > 200)
                removeLongPackage();
        }
        if (!skipped.empty())
            GTEST_SKIP() << skipped;
    }

    TempDir dir;
    std::string pkg;
    std::optional<JvmKeys> keys;
    std::optional<EnvOverride> env;
    std::optional<UnwritableDir> locked;
    std::string skipReason;  // set by a layout that this machine cannot make
    std::string skipped;
};

// The wizard's own code once it started, else what kept the run from starting it.
TEST_F(Hostile, TheExitCodeTellsHowTheRunEnded)
{
    const std::string blocker = "__qrv.control";
    expectVerdicts({
        {"wizard started and ended with 0", [&] { registerJvm(); mainRoadPackage(); }, 0, ""},
        {"wizard started and ended with 3",
         [&] { registerJvm("good", "create", "wizardexit=3\n"); mainRoadPackage(); }, 3, ""},
        {"wizard started and ended with 17",
         [&] { registerJvm("good", "create", "wizardexit=17\n"); mainRoadPackage(); }, 17, ""},
        {"no control file", [&] { put("install.jar", ""); }, 16, "Unable to install application."},
        {"control file cannot be rewritten",  // LF line ends: a CR LF file needs no rewrite
         [&] {
             registerJvm();
             package().wizardFiles("jvmRequiredVersion=1.6\njvmCommandName=java.exe\n");
             makeDirs(file(blocker));
         },
         16,
         "Unable to install application."},
        {"no JVM search, nothing to install",
         [&] { registerJvm(); package().wizardFiles("searchForJvm=none\njvmMinVersion=1.4\n"); },
         17, "You need version 1.4 or a later version"},
        {"packaged JVM missing",
         [&] {
             registerJvm();
             package().wizardFiles("searchForJvm=none\njvmInstallerType=selfExtratorJvmInstaller\n"
                                   "jvmSelfExtractor=jvmpack.exe\n");
         },
         17, "Please install the JVM and re-start this installer."},
        {"wizard ended with 0 without starting",
         [&] { registerJvm("good", "none"); mainRoadPackage(); }, 18, NotStarted},
        {"install.jar missing",
         [&] { registerJvm(); mainRoadPackage(); DeleteFileA(file("install.jar").c_str()); }, 18,
         "install.jar does not exist."},
        {"test run writing nothing", [&] { registerJvm("nothing"); mainRoadPackage(); }, 17,
         NotInstalled},
        {"test run writing garbage", [&] { registerJvm("garbage"); mainRoadPackage(); }, 17,
         NotInstalled},
        {"details of 30000 characters", [&] { registerJvm(); mainRoadPackage(); }, 0, "",
         std::string(30000, 'd')},
    });
}

// Control files that cannot be read, carry nothing usable, or are read otherwise than a quick
// look suggests.
TEST_F(Hostile, ControlFilesOfAnyShape)
{
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += static_cast<char>((i * 7919 + i / 13) & 0xff);
    garbage += std::string("\0jvmHomeDir=\0\0\xff\n", 17);
    std::string longLines;
    for (const char* key : {"jvmRequiredVersion=", "jvmCommandName=", "jvmHomeDir=",
                            "jvmExtraParameters=", "loaderClasspath=", "nokey"})
        longLines += key + std::string(100000, 'q') + "\n";
    std::string longValues;
    for (const char* key :
         {"jvmRequiredVersion", "jvmMinVersion", "jvmMaxVersion", "jvmVersion", "jvmName",
          "jvmCommandName", "jvmInstallerType", "jvmSelfExtractor", "jvmInstallerBinary",
          "jvmInstallerCommand", "predefinedJvmInstallDir", "jvmHomeDir", "jvmExtraParameters",
          "jvmClasspathSwitch", "loaderClasspath", "loaderJavaCommand",
          "systemSecurityPolicyFilename", "userSecurityPolicyFilename", "keystoreFilename",
          "appletUrl", "searchForJvm", "configureWinRegistry"})
        longValues += std::string(key) + "=" + std::string(4990, 'v') + "\\\\/:" +
                      std::string(100, '\\') + "\n";
    const auto withJvm = [&](const std::string& control) {
        return [&, control] {
            registerJvm();
            package().wizardFiles("");
            put("qrv.control", control);
        };
    };
    expectVerdicts({
        // An empty file and garbage set nothing: the default requires 1.4 exactly.
        {"empty control file", withJvm(""), 17, DefaultVersion},
        {"binary garbage with NUL bytes", withJvm(garbage), 17, DefaultVersion},
        // The first piece of each long line sets its key: no version fits "qqq...".
        {"lines of 100000 characters", withJvm(longLines), 17, "You need version qqqq"},
        {"every value longer than its buffer", withJvm(longValues), 17, "You need version vvvv"},
        // Lines end at line feeds only: "searchForJvm=NONE" after a CR is part of the minimum.
        {"CR-only line ends", withJvm("jvmMinVersion=1.4\rsearchForJvm=NONE\r"), 17,
         "You need version 1.4searchForJvm=NONE or a later version"},
        {"read-only control file",
         [&] {
             put("qrv.control", NoSearch);
             SetFileAttributesA(file("qrv.control").c_str(), FILE_ATTRIBUTE_READONLY);
         },
         17, Wants99},
    });
}

// Package directories with awkward paths or that cannot be written (Wine reports a read-only
// mount as access denied too: the write-protected medium is a row of the rule's own table).
TEST_F(Hostile, PackageDirectories)
{
    expectVerdicts({
        {"package path of 250 characters",
         [&] {
             const size_t used = (dir / "a\\").size();
             ASSERT_LT(used, 200u);
             usePackage(std::string(250 - used, 'p'));
             ASSERT_EQ(250u, pkg.size());
             put("qrv.control", NoSearch);
         },
         17, Wants99},
        {"blanks, non-ASCII characters and parentheses in the path",
         [&] {
             usePackage("my pkg (x86) \xe9\xfc\xe6 [1]");
             registerJvm();
             mainRoadPackage();
         },
         0, ""},
        {"package directory with the immutable flag, readOnlyPackage=stop",
         [&] {
             put("qrv.control", std::string(NoSearch) + "readOnlyPackage=stop\n");
             locked.emplace(pkg);
             if (!locked->made())
                 skipReason = "no immutable flag on this file system";
         },
         21, ReadOnly},
    });
}

// Registered JVMs that answer badly, broken registries and environments.
TEST_F(Hostile, BrokenMachines)
{
    expectVerdicts({
        // The one JVM that works is found behind 200 broken keys of later versions.
        {"two hundred version keys",
         [&] {
             for (int i = 0; i < 200; ++i)
                 keys->setString("1.7." + std::to_string(i), "JavaHome",
                                 dir / ("nowhere" + std::to_string(i)));
             registerJvm();
             package().wizardFiles("jvmMinVersion=1.4\n");
         },
         0, ""},
        {"empty key names, wrong value types and strings without NUL",
         [&] {
             const DWORD number = 7;
             if (HKEY key = keys->version("1.6"))
                 JvmKeys::setRaw(key, "JavaHome", REG_DWORD, &number, sizeof number);
             if (HKEY key = keys->version("1.5"))
                 JvmKeys::setRaw(key, "JavaHome", REG_BINARY, "\x01\x02\x03\x00\xff", 5);
             const std::string unterminated(300, 'C');
             if (HKEY key = keys->version("1.4"))
                 JvmKeys::setRaw(key, "JavaHome", REG_SZ, unterminated.data(), unterminated.size());
             if (HKEY key = keys->version("1.3"))
                 JvmKeys::setRaw(key, "JavaHome", REG_SZ, "", 0);
             if (HKEY key = keys->version(""))
                 JvmKeys::setRaw(key, "", REG_SZ, "x", 2);
             if (HKEY key = keys->version("1.7"))
                 JvmKeys::setRaw(key, "JavaHome", REG_MULTI_SZ, "a\0b\0", 5);
             keys->closeAll();
             package().wizardFiles("jvmMinVersion=1.0\n");
         },
         17, "You need version 1.0 or a later version"},
        {"JavaHome that is a file, a missing drive or a huge directory",
         [&] {
             writeFile(dir / "homefile", "not a directory");
             const std::string huge = dir / "huge";
             makeDirs(huge + "\\bin");
             for (int i = 0; i < 3000; ++i)
                 writeFile(huge + "\\bin\\f" + std::to_string(i) + ".txt", "");
             keys->setString("1.6", "JavaHome", dir / "homefile");
             keys->setString("1.6.1", "JavaHome", "Q:\\missing\\drive");
             keys->setString("1.6.2", "JavaHome", huge);
             mainRoadPackage();
         },
         17, "You need version 1.6, "},
        {"PATH of 32000 characters with empty entries",
         [&] {
             std::string path = ";;";
             while (path.size() < 32000)
                 path += "C:\\no\\such\\dir;;;";
             path.resize(32000);
             env.emplace("PATH", path);
             put("qrv.control", "jvmRequiredVersion=9.9\n");
         },
         17, Wants99},
    });
}

// What a package names outside itself stays untouched, and packaged JVM programs that crash
// fail the run with their reason.
TEST_F(Hostile, NamesOutsideThePackage)
{
    const std::string outside = dir / "outside";
    const std::string slashed = forwardSlashes(outside);
    const auto startDir = [&](const std::string& start) {
        return [&, start] {
            writeFile(dir / "outside\\startfile", "watched");
            put("qrv.control", NoSearch);
            put("startdir.txt", start + "\r\n");
        };
    };
    const auto wizardNaming = [&](const std::string& temporary) {
        return [&, temporary] {
            registerJvm("good", "create", "nativetemp=" + temporary + "\n");
            mainRoadPackage();
        };
    };
    expectVerdicts({
        // Start directories that the logs cannot go to: the logs stay in the package.
        {"start directory missing", startDir(outside + "\\missing"), 17, Wants99},
        {"start directory a file", startDir(outside + "\\startfile"), 17, Wants99},
        {"start directory the package", [&] { startDir(pkg)(); }, 17, Wants99},
        {"manifest naming files outside the package",
         [&] {
             makeDirs(file("META-INF"));
             put("META-INF\\MANIFEST.MF",
                 "Manifest-Version: 1.0\r\nName: ..\\..\\x\r\nName: ../../x\r\nName: " + outside +
                     "\\keep.txt\r\nName: " + outside + "\r\nName: META-INF\r\nName: \r\n");
             put("qrv.control", NoSearch);
         },
         17, Wants99},
        {"native.properties naming a temporary JVM outside",
         [&] {
             put("native.properties", "nativeJvmInstalledInTemp=true\nnativeTempJvmDir=" + slashed +
                                          "\nnativeJvmHomeDir=" + slashed + "\n");
             put("qrv.control", NoSearch);
         },
         17, Wants99},
        // The wizard rewrites native.properties to name a temporary JVM directory outside.
        {"wizard naming a temporary JVM outside", wizardNaming(slashed), 0, ""},
        {"wizard naming a drive as its temporary JVM", wizardNaming(slashed.substr(0, 3)), 0, ""},
        {"expander that crashes",
         [&] {
             package().expander("expander.exe", "crash=1\n");
             put("qrv.control",
                 "jvmRequiredVersion=9.9\njvmVersion=9.9.0\njvmName=MyJvm\n"
                 "jvmInstallerType=selfExtratorJvmInstaller\njvmSelfExtractor=expander.exe\n"
                 "predefinedJvmInstallDir=[$AppDir]\\jvm\n");
             put("install.jar", "");
         },
         17, "Unable to install MyJvm 9.9.0.", "x",
         [&] { EXPECT_TRUE(exists(file("fakeexpander.record"))) << "the expander never ran"; }},
        {"vendor installer that crashes",
         [&] {
             package().copyBuilt("fakevendor.exe", "vendor.exe");
             writeFile(dir / "vendor.ini", "crash=1\nrecord=" + (dir / "vendor.record") + "\n");
             env.emplace("QRV_FAKEVENDOR_INI", dir / "vendor.ini");
             put("qrv.control",
                 "jvmRequiredVersion=9.9\njvmVersion=9.9.0\njvmName=MyJvm\n"
                 "jvmInstallerType=thirdPartyJvmInstaller\njvmInstallerBinary=vendor.exe\n"
                 "jvmInstallerCommand=vendor.exe/*/*/*-s\n"
                 "predefinedJvmInstallDir=[$AppDir]\\jvm\n");
             put("install.jar", "");
         },
         17, "Unable to install MyJvm 9.9.0.", "x",
         [&] { EXPECT_TRUE(exists(dir / "vendor.record")) << "the vendor installer never ran"; }},
    });
}

} // namespace
