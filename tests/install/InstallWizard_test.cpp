#include "exec/Recorder.h"
#include "install/Install.h"
#include "support/LogCheck.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <cstring>

using namespace qrvtest;

namespace {

// The driver with its control-file values set directly.
class WizardInstall : public Install {
public:
    void configure(const std::string& command, const char* extra, const char* cpSwitch,
                   const char* classpath, const char* javaCommand, bool quiet, bool properties)
    {
        jvmCommand.set(command.c_str());
        jvmExtraParameters.set(extra);
        jvmClasspathSwitch.set(cpSwitch);
        loaderClasspath.set(classpath);
        loaderJavaCommand.set(javaCommand);
        quietInstall = quiet;
        propertiesInstall = properties;
    }
};

using Args = std::vector<std::string>;

} // namespace

namespace {

// A package directory (the current directory) and a stand-in JVM that records its arguments.
class WizardLaunch : public InTempDir {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateDirectoryA((dir / "J dir").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((dir / "J dir\\bin").c_str(), nullptr));
        javaw = dir / "J dir\\bin\\javaw.exe";
        placeRecorder(javaw);
        configureRecorder(javaw, true, 0);
        enterPackage("pkg");
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(dir.path().c_str());
    }
    void enterPackage(const std::string& name)
    {
        package = dir / name;
        CreateDirectoryA(package.c_str(), nullptr);
        ASSERT_TRUE(SetCurrentDirectoryA(package.c_str()));
        writeFile("install.jar", "jar");
        createTraceLog();
        writeFile("__qrvshow.sem", "ok\n");
        install.setShowDialogFilename((package + "\\__qrvshow.sem").c_str());
    }
    // What the stand-in received on its last start (program name, then arguments), after
    // checking that it ran in the package directory.
    Args received()
    {
        const RecordedStart lines = recorded(javaw);
        EXPECT_FALSE(lines.empty());
        if (!lines.empty()) {
            EXPECT_EQ("cwd=" + package, lines[0]);
        }
        Args argv = linesStartingWith(lines, "program=");
        const Args args = linesStartingWith(lines, "arg=");
        argv.insert(argv.end(), args.begin(), args.end());
        EXPECT_EQ(lines.size(), argv.size() + 1) << "a line other than cwd, program or arg";
        return argv;
    }

    std::string javaw;
    std::string package;
    WizardInstall install;
};

} // namespace

// The arguments' quoting is ArgQuote's and WizardArgs' table; here one row shows it wired into the
// start (a package directory, class path and details with blanks) and one the details that hold
// a double quote, the user's own quoting, which the wizard's split takes off.
TEST_F(WizardLaunch, ArgumentsArriveAsBuilt)
{
    struct Row {
        const char* packageName;
        const char* classpath;
        const char* details;
        Args arrives;  // what the wizard gets after its program name
    };
    const char* const cp = ".;install.jar";
    const char* const blankCp = ".;install.jar;C:\\Program Files\\lib\\x.jar";
    const Row rows[] = {
        {"my package dir", blankCp, "C:\\My Answers\\a.txt",
         {"-cp", blankCp, "Loader", "-v", "-q", "C:\\My Answers\\a.txt"}},
        {"p2", cp, "\"C:\\My Answers\\a.txt\"",
         {"-cp", cp, "Loader", "-v", "-q", "C:\\My Answers\\a.txt"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.details);
        enterPackage(row.packageName);
        install.configure(javaw, "", "-cp", row.classpath, "Loader -v", true, false);
        std::vector<char> details(row.details, row.details + std::strlen(row.details) + 1);
        ASSERT_TRUE(install.runJavaInstaller(details.data()));
        Args expected = {"javaw.exe"};
        expected.insert(expected.end(), row.arrives.begin(), row.arrives.end());
        EXPECT_EQ(expected, received());
        // The trace shows the details as the wizard gets them.
        EXPECT_TRUE(contains(logMessages("jinstall.log"), "details: " + expected.back()));
        EXPECT_FALSE(exists("__qrvwizard.sem"));
        EXPECT_FALSE(exists("__qrvshow.sem"));
    }
}

TEST_F(WizardLaunch, ASuccessfulLaunchTracesEveryStepAndClearsClasspath)
{
    _putenv("CLASSPATH=C:\\elsewhere");
    install.configure(javaw, "-Xmx64m", "-cp", ".;install.jar", "Loader go", true, false);
    char details[] = "C:\\a b";
    ASSERT_TRUE(install.runJavaInstaller(details));
    EXPECT_EQ(nullptr, std::getenv("CLASSPATH"));
    // The lines that carry a decision, in their order.
    expectTraced(logMessages("jinstall.log"),
                 {"parameters: 10", "added -q", "details: C:\\a b", "Command: " + javaw,
                  "Args: javaw.exe -Xmx64m -cp .;install.jar Loader go -q \"C:\\a b\"",
                  "Java wizard launched successfully"});
    EXPECT_FALSE(exists("errors.log"));
}

TEST_F(WizardLaunch, TheWizardStartsWithoutShowDialogFileAndWithoutClasspath)
{
    _putenv("CLASSPATH=C:\\elsewhere");
    writeFile(dir / "J dir\\bin\\javaw.cfg", "sem=1\nprobe=__qrvshow.sem\nprobe=install.jar\n");
    install.configure(javaw, "", "-cp", ".;install.jar", "Loader", false, false);
    char details[] = "";
    ASSERT_TRUE(install.runJavaInstaller(details));
    EXPECT_EQ((Args{"__qrvshow.sem missing", "install.jar exists", "CLASSPATH unset"}),
              readLines(dir / "J dir\\bin\\javaw.probe"));
}

TEST_F(WizardLaunch, AWizardThatLeavesNoSemaphoreFailsWhateverItsExitCode)
{
    configureRecorder(javaw, false, 0);
    install.configure(javaw, "-Xa -Xb", "-cp", ".;install.jar", "Loader x", false, false);
    char details[] = "";
    EXPECT_FALSE(install.runJavaInstaller(details));
    EXPECT_EQ((Args{"Java wizard not started properly"}), logMessages("errors.log"));
    EXPECT_FALSE(exists("__qrvshow.sem"));
    const Args first = received();

    // The retry builds the same words from the unchanged values.
    configureRecorder(javaw, true, 3);
    EXPECT_TRUE(install.runJavaInstaller(details));
    EXPECT_EQ(first, received());
    // -1 is an exit code like any other: with the semaphore the wizard started.
    configureRecorder(javaw, true, -1);
    EXPECT_TRUE(install.runJavaInstaller(details));
    EXPECT_EQ(first, received());
    EXPECT_EQ((Args{"javaw.exe", "-Xa", "-Xb", "-cp", ".;install.jar", "Loader", "x"}), first);
}

TEST_F(WizardLaunch, AJvmThatCannotStartIsReportedWithTheReason)
{
    const std::string missing = dir / "J dir\\bin\\missing.exe";
    install.configure(missing, "", "-cp", ".;install.jar", "Loader", false, false);
    char details[] = "";
    EXPECT_FALSE(install.runJavaInstaller(details));
    const Args expected = {
        "Unable to start  " + missing + " missing.exe -cp .;install.jar Loader",
        "Error running JVM installer: File or path is not found: false"};
    EXPECT_EQ(expected, logMessages("errors.log"));
    EXPECT_FALSE(exists("__qrvshow.sem"));
}

TEST_F(WizardLaunch, AMissingInstallJarStartsNothingAndKeepsTheDialog)
{
    std::remove("install.jar");
    install.configure(javaw, "", "-cp", ".;install.jar", "Loader", false, false);
    char details[] = "";
    EXPECT_FALSE(install.runJavaInstaller(details));
    EXPECT_EQ((Args{"install.jar does not exist."}), logMessages("errors.log"));
    EXPECT_TRUE(exists("__qrvshow.sem"));
    EXPECT_FALSE(exists(dir / "J dir\\bin\\javaw.record"));

    // The name is looked for case-sensitively: another spelling is not checked.
    install.configure(javaw, "", "-cp", ".;Install.JAR", "Loader", false, false);
    EXPECT_TRUE(install.runJavaInstaller(details));
}
