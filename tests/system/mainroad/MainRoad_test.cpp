// The built launcher run as a user runs it: setup.exe started in a package directory, against
// the real registry of the test prefix, where a stand-in JVM is registered for the test's time.
#include "install/InstallTexts.h"
#include "support/LogCheck.h"
#include "support/Package.h"
#include "system/SystemSupport.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

// A package directory beside a stand-in JVM home, both in the test's own directory.
class MainRoad : public InTempDir {
protected:
    void SetUp() override
    {
        refreshPackage();
        placeJvm("create");
    }

    // The package files that a run's cleanup removes, laid out (again).
    void refreshPackage(const Package& into)
    {
        into.copyBuilt("TestJvm.class");
        into.put("install.jar", "the wizard\n");
        makeDirs(into / "META-INF");
        into.put("META-INF\\MANIFEST.MF",
                 "Manifest-Version: 1.0\r\n\r\nName: TestJvm.class\r\n\r\nName: readme.txt  \r\n");
        into.put("readme.txt", "named in the manifest\n");
    }
    void refreshPackage() { refreshPackage(pkg); }

    // The stand-in JVM under both program names of a 1.6 runtime; `more` adds settings (a later
    // line of a setting wins).
    void placeJvm(const std::string& wizardMode, const std::string& more = "")
    {
        placeStandinJvm(jvmBin, "1.6.0_20", "good", wizardMode, more);
    }

    void control(const std::string& text) { pkg.put("qrv.control", text); }
    // Runs setup.exe in the package directory; the run must end by itself.
    void run(const std::string& arguments) { pkg.run(arguments); }

    std::vector<RecordedStart> jvmStarts() const { return qrvtest::jvmStarts(jvmBin); }
    std::vector<std::string> trace() const { return pkg.trace(); }
    std::vector<std::string> errors() const { return pkg.errors(); }

    Package pkg{dir / "my package"};
    const std::string package = pkg.dir();
    const std::string jvmHome = dir / "jre 1.6";
    const std::string jvmBin = jvmHome + "\\bin";
};

const std::string WizardFailureMessage =
    "Unable to start the install wizard.\r\rIs there a \"java\" command in the path that "
    "doesn't start the JRE?\r\rIf there is, remove it and try the installer again.";
const std::string WizardFailureDetails =
    std::string(install_names::otherCausesText) + "\n" + install_names::diskSpaceText;

size_t occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The failure report of the driver's last step: the wizard-start texts, logged once, last.
void expectWizardFailureTexts(const std::string& errorsLog)
{
    SCOPED_TRACE("errors.log:\n" + errorsLog);
    EXPECT_EQ(1u, occurrences(errorsLog, WizardFailureMessage));
    EXPECT_EQ(1u, occurrences(errorsLog, WizardFailureDetails));
    const size_t message = errorsLog.find(WizardFailureMessage);
    const size_t details = errorsLog.find(WizardFailureDetails);
    EXPECT_LT(message, details);
    EXPECT_EQ(errorsLog.size(), details + WizardFailureDetails.size() + 1)
        << "the details are the last text of the log";
}

// A package on a full disk: the control file keeps what it held, and the wizard never starts on
// properties that could not be written whole.
TEST_F(MainRoad, APackageOnAFullDiskStartsNoWizard)
{
    JvmKeys jvm("1.6", jvmHome);
    const FullDisk disk;
    ASSERT_TRUE(disk.mounted());
    Package full("Q:\\package");
    // LF line ends, which the run rewrites.
    const std::string control = "jvmMinVersion=1.4\nsearchForJvm=yes\n";
    full.put("qrv.control", control);
    full.put("install.jar", "the wizard\n");
    ASSERT_TRUE(disk.fill(0));
    ASSERT_NO_FATAL_FAILURE(full.run("-q x"));

    EXPECT_EQ(18u, full.exitCode());
    EXPECT_EQ(0u, wizardStarts(jvmBin).size());
    EXPECT_EQ(control, readFile(full / "qrv.control"));
    EXPECT_FALSE(exists(full / "native.properties"));
    EXPECT_FALSE(exists(full / "native.properties.new"));
}

// The Overview's typical run, with a trace log that the user created beforehand so that every
// line of the run is kept: a JVM 1.6 registered, a package asking for 1.4 and nothing else.
TEST_F(MainRoad, TypicalRunTracesEveryStepInOrder)
{
    control("jvmMinVersion=1.4\n");
    createTraceLog(package);
    JvmKeys jvm("1.6", jvmHome);
    ASSERT_NO_FATAL_FAILURE(run("-q "));

    // The steps in their order, by the lines that carry a decision.
    const std::string program = jvmBin + "\\javaw.exe";
    expectTraced(trace(), {
        "Quite install: true",
        "home directory " + windowsDirectory(),
        "jvmMinVersion 1.4",
        "available versions: 1",
        "                 version 1.6",
        "testing  " + program,
        "found jvm version: 1.6.0_20",
        "       version ok: true",
        "Found correct version of JVM: " + program,
        "jvm home dir " + jvmHome,
        "parameters: 5",
        "Command: " + program,
        "Args: javaw.exe  .;install.jar ",
        "Java wizard launched successfully",
        "jvmLocation " + jvmHome,
        "jvmInstalledInTemp false",
        "configureReg: true",
    });

    // The test run in the package directory, then the wizard, which found its properties.
    const auto starts = jvmStarts();
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ(startLines(package, {"javaw.exe", "-cp", ".", "TestJvm", package}), starts[0]);
    EXPECT_EQ((std::vector<std::string>{package}), linesStartingWith(starts[1], "cwd="));
    EXPECT_EQ((std::vector<std::string>{"javaw.exe"}), linesStartingWith(starts[1], "program="));
    EXPECT_EQ((std::vector<std::string>{".;install.jar"}), linesStartingWith(starts[1], "arg="));
    EXPECT_EQ((std::vector<std::string>{"nativeJvmHomeDir=" + forwardSlashes(jvmHome),
                                        "nativeJvmInstalled=false",
                                        "nativeJvmInstalledInTemp=false",
                                        "configureWinRegistry=true"}),
              linesStartingWith(starts[1], "native="));

    // What the cleanup leaves: the user's trace log and the package's own program and control.
    EXPECT_EQ((std::vector<std::string>{"jinstall.log", "qrv.control", "setup.exe"}),
              treeOf(package));
}

// The typical run as a user meets it: no trace log beforehand, so the run's own trace goes
// again; the wizard gets the words of the control file with empty words left out.
TEST_F(MainRoad, TypicalRunLeavesOnlyThePackageProgramAndControlFile)
{
    control("jvmMinVersion=1.4\njvmExtraParameters=-Xmx64m\njvmClasspathSwitch=-cp\n"
            "loaderJavaCommand=com.example.Setup -mode  install\n");
    // Without a trace log of the user's the windowed program is the one run: the console
    // program is no program at all here, so both starts below were javaw.exe's.
    writeFile(jvmBin + "\\java.exe", "not a program\n");
    JvmKeys jvm("1.6", jvmHome);
    ASSERT_NO_FATAL_FAILURE(run("-q "));

    const auto starts = jvmStarts();
    ASSERT_EQ(2u, starts.size());
    EXPECT_TRUE(contains(starts[0], "arg=TestJvm"));
    EXPECT_EQ((std::vector<std::string>{"-Xmx64m", "-cp", ".;install.jar", "com.example.Setup",
                                        "-mode", "install"}),
              linesStartingWith(starts[1], "arg="));
    EXPECT_EQ((std::vector<std::string>{package}), linesStartingWith(starts[1], "cwd="));
    EXPECT_EQ((std::vector<std::string>{"qrv.control", "setup.exe"}), treeOf(package));
}

// A package unpacked into nested folders under a long profile path leaves exactly what a run in
// a short folder leaves. Past 260 characters it is started by its short name, as Windows starts
// no program in a longer folder (Wine starts it in the Windows directory). Wine, unlike Windows,
// starts no program whose long path is past 260, not even by its short name (the launcher comes
// from the build directory), nor gives a final path past 260 (the run past 260 names only
// short paths, where Windows removes the manifest's files by their long final paths).
TEST_F(MainRoad, DeepPackageDirectoryLeavesWhatAShortOneLeaves)
{
    const std::string control = "jvmMinVersion=1.4\n";
    this->control(control);
    pkg.copyBuilt("cleanup.exe");
    JvmKeys jvm("1.6", jvmHome);
    ASSERT_NO_FATAL_FAILURE(run("-q "));
    ASSERT_EQ(0u, pkg.exitCode()) << pkg.errorsText();
    const std::vector<std::string> left = treeOf(package);
    for (const size_t length : {240, 250, 258, 300}) {
        SCOPED_TRACE("package directory of " + std::to_string(length) + " characters");
        std::string path = dir / "deep";
        while (path.size() < length) {
            const size_t room = length - path.size() - 1;
            path += "\\" + std::string(room < 60 ? room : 50, 'd');
        }
        makeDirs(path);
        Package deep(length > 260 ? shortPathOf(path) : path, false);
        refreshPackage(deep);
        for (const char* program : {"setup.exe", "cleanup.exe"})
            deep.copyBuilt(program);
        deep.put("qrv.control", control);
        ASSERT_NO_FATAL_FAILURE(deep.run("-q "));
        EXPECT_EQ(pkg.exitCode(), deep.exitCode()) << deep.errorsText();
        EXPECT_EQ(left, treeOf(path));
    }
}

// A properties run passes the install details on to the wizard after its switch, the command
// line's quotes taken off: details with blanks and a trailing backslash arrive as one argument
// (their quoting is ArgQuote's table, the user's own quoting a row of the wizard launch's). No box
// is raised (a box would keep the run from ending within its time limit).
TEST_F(MainRoad, PropertiesRunHandsTheDetailsToTheWizard)
{
    control("jvmMinVersion=1.4\njvmClasspathSwitch=-cp\nloaderJavaCommand=Wizard\n");
    JvmKeys jvm("1.6", jvmHome);
    ASSERT_NO_FATAL_FAILURE(run("-s \"C:\\My Files\\target dir\\\""));

    const auto starts = jvmStarts();
    ASSERT_EQ(2u, starts.size());
    EXPECT_EQ((std::vector<std::string>{"-cp", ".;install.jar", "Wizard", "-s",
                                        "C:\\My Files\\target dir\\"}),
              linesStartingWith(starts[1], "arg="));
    EXPECT_EQ(0u, pkg.exitCode());
    EXPECT_FALSE(exists(package + "\\errors.log"));
}

// A registered JVM whose test run hangs: the run is ended after jvmTestTimeout, together with
// what it started, and the search goes on to the next JVM, which starts the wizard.
TEST_F(MainRoad, HungTestRunIsEndedAndTheNextJvmTaken)
{
    const std::string hungBin = dir / "jre 1.7\\bin";
    placeStandinJvm(hungBin, "1.7.0", "hang");
    control("jvmMinVersion=1.4\njvmTestTimeout=1\n");
    createTraceLog(package);
    JvmKeys jvms;
    jvms.setString("1.6", "JavaHome", jvmHome);
    jvms.setString("1.7", "JavaHome", dir / "jre 1.7");
    jvms.closeAll();
    ASSERT_NO_FATAL_FAILURE(run("-q "));

    const auto hung = qrvtest::jvmStarts(hungBin);
    ASSERT_EQ(1u, hung.size()) << "the hung JVM is tried once";
    EXPECT_TRUE(contains(hung[0], "arg=TestJvm"));
    const auto pid = linesStartingWith(hung[0], "pid=");
    const auto childPid = linesStartingWith(hung[0], "childpid=");
    ASSERT_EQ(1u, pid.size());
    ASSERT_EQ(1u, childPid.size());
    EXPECT_TRUE(processGone(std::stoul(pid[0])));
    EXPECT_TRUE(processGone(std::stoul(childPid[0])));

    expectTraced(trace(), {"jvmTestTimeout 1", "test jvm timed out " + hungBin + "\\javaw.exe",
                           "Java wizard launched successfully", "jvmLocation " + jvmHome});
    EXPECT_EQ((std::vector<std::string>{"Jvm isn't installed properly."}), errors());
    EXPECT_EQ(2u, jvmStarts().size()) << "the test run and the wizard on the 1.6 JVM";
}

// A JVM found on the system that runs but does not start the wizard: the driver installs the
// packaged JVM once and starts the wizard on that one; without a usable packaged JVM it reports
// the wizard-start failure.
TEST_F(MainRoad, FoundJvmThatCannotStartTheWizardIsReplacedOnce)
{
    struct Row {
        const char* what;
        const char* packaged;  // control-file lines of the packaged JVM
        bool expander;         // jvmpack.exe is in the package
        const char* expanderIni;
        bool succeeds;
        std::string failure = "";  // what errors.log tells instead of the wizard-start texts
    };
    const Row rows[] = {
        {"packaged JVM expands and starts the wizard",
         "jvmInstallerType=selfExtratorJvmInstaller\njvmSelfExtractor=jvmpack.exe\n", true,
         "version=1.6.0_20\n", true},
        {"packaged JVM fails to expand",
         "jvmInstallerType=selfExtratorJvmInstaller\njvmSelfExtractor=jvmpack.exe\n", true,
         "fail=1\n", false},
        {"no packaged JVM", "", false, "", false},
        {"the vendor's installer fails (its search tests the JVM again)",
         "jvmInstallerType=thirdPartyJvmInstaller\njvmName=JRE\njvmInstallerBinary=vendor.exe\n"
         "jvmInstallerCommand=vendor.exe/*/*/*/s\njvmVersion=1.7.0\n", false, "", false,
         "Unable to install JRE 1.7.0. The JVM installer vendor.exe ended with exit code 1603 (a "
         "fatal error during installation, often missing administrator rights)."},
    };
    placeJvm("none");
    JvmKeys jvm("1.6", jvmHome);
    pkg.copyBuilt("fakevendor.exe", "vendor.exe");
    writeFile(dir / "vendor.ini", "exitcode=1603\n");
    const EnvOverride vendorIni("QRV_FAKEVENDOR_INI", dir / "vendor.ini");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        control(std::string("jvmMinVersion=1.4\npredefinedJvmInstallDir=[$AppDir]\\jvm\n"
                            "configureWinRegistry=false\n") +
                row.packaged);
        refreshPackage();
        createTraceLog(package);
        DeleteFileA((package + "\\errors.log").c_str());
        DeleteFileA((package + "\\fakeexpander.record").c_str());
        DeleteFileA((jvmBin + "\\fakejvm.record").c_str());
        if (row.expander)
            pkg.expander("jvmpack.exe", row.expanderIni);
        // The road that succeeds runs shown: only then are the status texts traced.
        ASSERT_NO_FATAL_FAILURE(run(row.succeeds ? "" : "-q "));

        // The found JVM: its test run and one wizard start, never a second one.
        const auto starts = jvmStarts();
        ASSERT_EQ(row.failure.empty() ? 2u : 3u, starts.size());
        EXPECT_EQ((std::vector<std::string>{".;install.jar"}), linesStartingWith(starts[1], "arg="));
        // Exactly one installation attempt.
        EXPECT_EQ(row.expander ? 1u : 0u, pkg.starts("fakeexpander").size());

        const std::vector<std::string> lines = trace();
        EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "Java wizard not started properly"));
        const std::string errorsLog = readTextFile(package + "\\errors.log");
        EXPECT_EQ(1u, occurrences(errorsLog, "Java wizard not started properly")) << errorsLog;
        if (row.succeeds) {
            // Statuses 4 and 5, the installation and the second launch; the wizard ran on the
            // JVM expanded into the package, which the cleanup removed.
            expectTraced(lines, {"Installing the JVM...", "Restarting the installer...",
                                 "Java wizard launched successfully",
                                 "jvmLocation " + package + "\\jvm", "jvmInstalledInTemp true"});
            // Its files go. The emptied directory itself stays in some Wine runs: the
            // directory's removal fails while a helper process that Wine started there with
            // the expanding program (its console host) still holds it.
            EXPECT_FALSE(exists(package + "\\jvm\\bin"));
            EXPECT_EQ(std::string::npos, errorsLog.find(WizardFailureMessage)) << errorsLog;
        } else if (row.failure.empty()) {
            EXPECT_FALSE(contains(lines, "Java wizard launched successfully"));
            expectWizardFailureTexts(errorsLog);
        } else {
            EXPECT_TRUE(contains(errors(), row.failure)) << errorsLog;
        }
        EXPECT_FALSE(exists(package + "\\__qrvwizard.sem"));
        EXPECT_FALSE(exists(package + "\\native.properties"));
    }
}

// The class path names install.jar but the package lacks it: the JVM is never started as the
// wizard, and the run fails with the wizard-start texts after the retry road.
TEST_F(MainRoad, MissingInstallJarStartsNoWizard)
{
    control("jvmMinVersion=1.4\n");
    DeleteFileA((package + "\\install.jar").c_str());
    JvmKeys jvm("1.6", jvmHome);
    ASSERT_NO_FATAL_FAILURE(run("-q "));

    const auto starts = jvmStarts();
    ASSERT_EQ(1u, starts.size()) << "only the test run";
    EXPECT_TRUE(contains(starts[0], "arg=TestJvm"));
    const std::string errorsLog = readTextFile(package + "\\errors.log");
    EXPECT_EQ(1u, occurrences(errorsLog, "install.jar does not exist.\n")) << errorsLog;
    expectWizardFailureTexts(errorsLog);
    // A failed run keeps its trace log with the verdict; the JVM-location lines of the
    // cleanup follow it.
    EXPECT_TRUE(contains(trace(), "install ok: false"));
    // Started where it lies, the package stays for a new start.
    EXPECT_EQ((std::vector<std::string>{"META-INF", "META-INF\\MANIFEST.MF", "TestJvm.class",
                                        "errors.log", "jinstall.log", "qrv.control", "readme.txt",
                                        "setup.exe"}),
              treeOf(package));
}

// A JVM program that exists but cannot be started (a package without the test class accepts it
// unseen): the start failure is logged with the command and the reason.
TEST_F(MainRoad, WizardProgramThatCannotBeStartedIsReported)
{
    control("jvmMinVersion=1.4\n");
    DeleteFileA((package + "\\TestJvm.class").c_str());
    for (const char* program : {"java.exe", "javaw.exe"})
        writeFile(jvmBin + "\\" + program, "not a program\n");
    JvmKeys jvm("1.6", jvmHome);
    ASSERT_NO_FATAL_FAILURE(run("-q "));

    const std::string program = jvmBin + "\\javaw.exe";
    const std::vector<std::string> lines = errors();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("Unable to start  " + program + " javaw.exe  .;install.jar ", lines[0]);
    // The reason comes from the start's own error, the same under Wine as on Windows.
    EXPECT_EQ("Error running JVM installer: Specified file is not executable or has invalid "
              "executable-file format: false",
              lines[1]);
    expectWizardFailureTexts(readTextFile(package + "\\errors.log"));
}

// A run that fails where the package lies keeps the package, so that the new start the failure
// text asks for works once a JVM is there; a package unpacked for the run is cleaned as before.
TEST_F(MainRoad, AFailedRunInPlaceKeepsThePackageForANewStart)
{
    control("jvmMinVersion=1.4\n");
    pkg.copyBuilt("cleanup_recorder.exe", "cleanup.exe");
    for (const bool unpacked : {false, true}) {
        SCOPED_TRACE(unpacked ? "unpacked" : "in place");
        DeleteFileA((package + "\\jinstall.log").c_str());
        if (unpacked)
            writeFile(package + "\\startdir.txt", dir.path() + "\r\n");
        {
            MachineWithoutJvms machine;
            ASSERT_NO_FATAL_FAILURE(run("-q x"));
        }
        EXPECT_EQ(17u, pkg.exitCode());
        for (const char* name : {"META-INF\\MANIFEST.MF", "install.jar", "readme.txt"})
            EXPECT_EQ(!unpacked, exists(package + "\\" + name)) << name;
        EXPECT_EQ(!unpacked, contains(trace(), "package kept for a new start"));
        if (unpacked)
            break;
        EXPECT_TRUE(exists(package + "\\cleanup.exe")) << "the package's own, kept";
        JvmKeys jvm("1.6", jvmHome);
        ASSERT_NO_FATAL_FAILURE(run("-q x"));
        EXPECT_EQ(0u, pkg.exitCode()) << "the new start";
        EXPECT_FALSE(exists(package + "\\install.jar"));
        EXPECT_FALSE(exists(package + "\\cleanup.exe"));
        refreshPackage();
    }
}

// A package file held at the run's end: held for a moment, it is removed after a wait; held
// for good, the run ends after its waits and names the file in the error log.
TEST_F(MainRoad, AFileHeldByAnotherProgramIsWaitedForOrNamed)
{
    control("jvmMinVersion=1.4\n");
    JvmKeys jvm("1.6", jvmHome);
    const std::string readme = package + "\\readme.txt";
    const std::string held = readme + ": held by another program";
    for (const bool forGood : {false, true}) {
        SCOPED_TRACE(forGood);
        refreshPackage();
        writeFile(package + "\\jinstall.log", "");
        {
            const HeldFile hold(readme, FILE_SHARE_READ, package + "\\jinstall.log", forGood);
            ASSERT_NO_FATAL_FAILURE(run("-q x"));
        }
        EXPECT_EQ(0u, pkg.exitCode());
        EXPECT_TRUE(contains(trace(), "waiting for " + held));
        EXPECT_EQ(forGood, exists(readme));
        EXPECT_EQ(forGood, contains(errors(), held)) << pkg.errorsText();
        EXPECT_FALSE(exists(package + "\\install.jar")) << "the run went on";
    }
}

} // namespace
