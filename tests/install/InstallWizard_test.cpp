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

TEST_F(WizardLaunch, ArgumentsArriveAsBuilt)
{
    struct Row {
        const char* what;
        const char* packageName;
        const char* extra;
        const char* cpSwitch;
        const char* classpath;
        const char* javaCommand;
        bool quiet;
        const char* details;
        Args arrives;  // what the wizard gets after its program name
    };
    const char* const cp = ".;install.jar";
    const Row rows[] = {
        {"package directory with blanks", "my package dir", "", "-cp",
         ".;install.jar;C:\\Program Files\\lib\\x.jar", "Loader", false, "",
         {"-cp", ".;install.jar;C:\\Program Files\\lib\\x.jar", "Loader"}},
        {"details with blanks", "p2", "", "-cp", cp, "Loader -v", true, "C:\\My Answers\\a.txt",
         {"-cp", cp, "Loader", "-v", "-q", "C:\\My Answers\\a.txt"}},
        // Details that hold a double quote are the user's own quoting.
        {"details with a quote and a blank", "p3", "", "-cp", cp, "Loader", true,
         "\"C:\\My Answers\\a.txt\"", {"-cp", cp, "Loader", "-q", "C:\\My Answers\\a.txt"}},
        {"details with a quote inside a word", "p4", "", "-cp", cp, "Loader", true,
         "-Dname=\"A B\"", {"-cp", cp, "Loader", "-q", "-Dname=A B"}},
        {"quoted details without a blank", "p4q", "", "-cp", cp, "Loader", true, "\"C:\\x\"",
         {"-cp", cp, "Loader", "-q", "C:\\x"}},
        {"trailing backslash", "p5", "", "-cp", ".;install.jar;C:\\with blank\\", "Loader", true,
         "C:\\target dir\\",
         {"-cp", ".;install.jar;C:\\with blank\\", "Loader", "-q", "C:\\target dir\\"}},
        {"empty class-path switch", "p6", "", "", cp, "Loader", false, "", {cp, "Loader"}},
        {"doubled blanks in the extra switches", "p7", "-Xmx64m  -Dq=1", "-cp", cp, "Loader  arg",
         false, "", {"-Xmx64m", "-Dq=1", "-cp", cp, "Loader", "arg"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        enterPackage(row.packageName);
        install.configure(javaw, row.extra, row.cpSwitch, row.classpath, row.javaCommand,
                          row.quiet, false);
        std::vector<char> details(row.details, row.details + std::strlen(row.details) + 1);
        ASSERT_TRUE(install.runJavaInstaller(details.data()));
        Args expected = {"javaw.exe"};
        expected.insert(expected.end(), row.arrives.begin(), row.arrives.end());
        EXPECT_EQ(expected, received());
        // The trace shows the details as the wizard gets them.
        if (*row.details != '\0') {
            EXPECT_TRUE(contains(logMessages("jinstall.log"), "details: " + expected.back()));
        }
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
