// Real runs of the launcher under the desktop: the status dialog, the driver's failure box,
// quiet runs, Escape on the dialog, the windows hidden while a wizard runs on, and the
// cleanup-program step.
#include "support/LogCheck.h"
#include "support/Package.h"
#include "system/SystemSupport.h"
#include "util/PathIdentity.h"
#include "util/Wide.h"

#include <sddl.h>
#include <string>
#include <tuple>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

constexpr const char* ErrorCaption = "Quorvan Installer: Error";
// Generous bounds for Wine under load; the waits end as soon as the awaited state is there.
constexpr int PollLimit = 600;  // x 100 ms
constexpr DWORD PollStepMs = 100;

// A launcher process started in the package directory; killed at the end if still running.
class LauncherRun {
public:
    LauncherRun(const std::string& program, const std::string& arguments, const std::string& dir)
    {
        std::string commandLine = "\"" + program + "\"";
        if (!arguments.empty())
            commandLine += " " + arguments;
        std::vector<char> command(commandLine.begin(), commandLine.end());
        command.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  dir.c_str(), &startup, &process_) != 0;
    }
    ~LauncherRun()
    {
        if (!started_)
            return;
        if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 255);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    LauncherRun(const LauncherRun&) = delete;
    LauncherRun& operator=(const LauncherRun&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return process_.dwProcessId; }
    bool ended() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
    bool waitEnd() const
    {
        return WaitForSingleObject(process_.hProcess, PollLimit * PollStepMs) == WAIT_OBJECT_0;
    }
    DWORD exitCode() const
    {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

struct WindowSearch {
    DWORD processId;
    std::string caption;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId)
        return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window))
        return TRUE;
    char caption[256] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (!search->caption.empty() && search->caption != caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

// A top-level window of `processId` with the caption (any caption when empty), or null.
HWND findWindow(DWORD processId, const std::string& caption, bool visibleOnly)
{
    WindowSearch search{processId, caption, visibleOnly, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(const LauncherRun& run, const std::string& caption)
{
    for (int i = 0; i < PollLimit && !run.ended(); ++i) {
        HWND window = findWindow(run.id(), caption, true);
        if (window != nullptr)
            return window;
        Sleep(PollStepMs);
    }
    return nullptr;
}

// A text of the launcher's windows, read wide whatever this program's code page, as UTF-8.
std::string dialogItemText(HWND dialog, int id)
{
    wchar_t text[2000] = L"";
    GetDlgItemTextW(dialog, id, text, 2000);
    std::string utf8;
    encodeExactly(text, CP_UTF8, utf8);
    return utf8;
}

// The status text of the dialog once the launcher has set it.
std::string waitForStatusText(HWND dialog)
{
    for (int i = 0; i < PollLimit; ++i) {
        const std::string text = dialogItemText(dialog, 104);
        if (!text.empty())
            return text;
        Sleep(PollStepMs);
    }
    return std::string();
}

class Launcher : public ::testing::Test {
protected:
    std::string program() const { return dir / "setup.exe"; }
    void expectSemaphoresGone()
    {
        EXPECT_FALSE(exists(dir / "__qrvinstall.sem"));
        EXPECT_FALSE(exists(dir / "__qrvshow.sem"));
    }
    // Closes every error box of the run (the control-file reader raises its own before the
    // driver's failure box) and returns their texts in order.
    std::vector<std::string> closeErrorBoxes(const LauncherRun& run)
    {
        std::vector<std::string> texts;
        while (HWND box = waitForWindow(run, ErrorCaption)) {
            texts.push_back(dialogItemText(box, 0xFFFF));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < PollLimit && IsWindow(box); ++i)
                Sleep(PollStepMs);
        }
        return texts;
    }
    // The text of the last box, the driver's.
    std::string closeErrorBox(const LauncherRun& run)
    {
        const std::vector<std::string> texts = closeErrorBoxes(run);
        return texts.empty() ? "(no box)" : texts.back();
    }

    TempDir dir;
    Package package{dir.path()};
};

// A registered stand-in JVM 1.6 whose wizard runs until the test lets it end, which it does on
// every path, so that no stand-in outlives the test.
struct WaitingWizard {
    explicit WaitingWizard(Package& package)
    {
        placeStandinJvm(bin, "1.6.0_20", "good", "wait");
        package.wizardFiles("jvmMinVersion=1.4\n");
    }
    ~WaitingWizard() { release(); }
    void release() const { writeFile(bin + "\\fakejvm.release", ""); }
    // Whether the wizard started (made its marker file) in `dir` before the run ended.
    static bool started(const LauncherRun& run, const std::string& dir)
    {
        waitUntil([&] { return run.ended() || exists(dir + "\\__qrvwizard.sem"); },
                  PollLimit * PollStepMs);
        return exists(dir + "\\__qrvwizard.sem");
    }

    TempDir home;
    const std::string bin = home / "bin";
    JvmKeys keys{"1.6", home.path()};
};

// Wine (unlike Windows) rewrites "LocaleName" from the Unix locale at every process start, so
// the launcher sees a language tag such as "en-US" here, which is English.
TEST_F(Launcher, ShownRunShowsTheDialogThenTheFailureBox)
{
    LauncherRun run(program(), "", dir.path());
    ASSERT_TRUE(run.started());
    HWND dialog = waitForWindow(run, "Installer");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("Unpacking the installer...", waitForStatusText(dialog));

    const std::string boxText = closeErrorBox(run);
    EXPECT_EQ(0u, boxText.find("Unable to install application.")) << boxText;
    ASSERT_TRUE(run.waitEnd());
    EXPECT_EQ(16u, run.exitCode()) << "no control file, as in a quiet run";
    expectSemaphoresGone();
}

// The launcher speaks the language of the locale it started with: Wine writes the locale's tag
// ("fr-FR", "pl-PL") as the user's "LocaleName" at every process start, and children inherit the
// locale of this program. The plain run meets English; CTest runs this case again under French
// and Polish locales (Polish with code page 1250, whose letters the launcher shows all the same).
// The reader's box has no details and so carries the language's suffix.
TEST_F(Launcher, ShownRunSpeaksTheLanguageOfItsLocale)
{
    struct Row {
        const char* language;  // first subtag of the locale's tag
        const char* dialogText;
        const char* suffix;
    };
    const Row rows[] = {
        {"en", "Unpacking the installer...",
         "\n\nSee errors.log and jinstall.log files for details."},
        {"fr", "Préparation Wizard...",
         "\n\nVeuillez examiner les fichiers errors.log et jinstall.log pour plus de "
         "détails sur l'erreur."},
        {"pl", "Inicjalizacja Wizard...",
         "\n\nW celu uzyskania dokładnej informacji o błędach proszę przejrzeć pliki errors.log "
         "i jinstall.log files."},
    };
    wchar_t tag[LOCALE_NAME_MAX_LENGTH] = L"";
    ASSERT_GT(GetUserDefaultLocaleName(tag, LOCALE_NAME_MAX_LENGTH), 0);
    std::string language;
    for (const wchar_t* c = tag; *c != L'\0' && *c != L'-'; ++c)
        language += static_cast<char>(*c);
    const Row* row = nullptr;
    for (const Row& candidate : rows) {
        if (language == candidate.language)
            row = &candidate;
    }
    if (row == nullptr)
        GTEST_SKIP() << "no row for the language " << language;
    SCOPED_TRACE(language);

    LauncherRun run(program(), "", dir.path());
    ASSERT_TRUE(run.started());
    HWND dialog = waitForWindow(run, "Installer");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(row->dialogText, waitForStatusText(dialog));

    const std::vector<std::string> boxes = closeErrorBoxes(run);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(std::string("Unable to open qrv.control") + row->suffix, boxes[0]);
    EXPECT_EQ(0u, boxes[1].find("Unable to install application.")) << boxes[1];
    ASSERT_TRUE(run.waitEnd());
    EXPECT_EQ(16u, run.exitCode());
    expectSemaphoresGone();
}

// No JVM fits: the box, under the product's name, lists what was turned down and offers the
// package's download address, No the default; No opens nothing.
TEST_F(Launcher, ShownRunOffersTheDownloadAddressUnderTheProductsName)
{
    placeStandinJvm(dir / "runtime\\bin", "17.0.2");
    writeFile(dir / "qrv.control", "jvmMinVersion=99\r\njvmCommandName=java\r\nsearchForJvm=no\r\n"
                                   "jvmBundledDir=runtime\r\nproductName=Atlas\r\n"
                                   "jvmDownloadUrl=https://example.org/java\r\n");
    LauncherRun run(program(), "", dir.path());
    ASSERT_TRUE(run.started());
    HWND box = waitForWindow(run, "Atlas Installer: Error");
    ASSERT_NE(nullptr, box);
    const std::string text = dialogItemText(box, 0xFFFF);
    EXPECT_NE(std::string::npos, text.find("\\runtime (17.0.2): older than jvmMinVersion")) << text;
    EXPECT_NE(std::string::npos, text.find("\nhttps://example.org/java\n")) << text;
    const auto buttonStyle = [box](int id) { return GetWindowLongA(GetDlgItem(box, id), GWL_STYLE) & 0xF; };
    EXPECT_EQ(BS_DEFPUSHBUTTON, buttonStyle(IDNO));
    EXPECT_EQ(BS_PUSHBUTTON, buttonStyle(IDYES));
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(run.waitEnd());
    EXPECT_EQ(17u, run.exitCode());

    // Yes with no program to open the address: the failure is traced (that the shell may need
    // COM on the worker thread, Wine's does not show).
    SavedKey handler("https\\shell\\open\\command", SavedKey::Emptied, HKEY_CLASSES_ROOT);
    setRegString(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", "", "\"C:\\none.exe\" \"%1\"");
    LauncherRun yes(program(), "", dir.path());
    ASSERT_NE(nullptr, box = waitForWindow(yes, "Atlas Installer: Error"));
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(yes.waitEnd());
    EXPECT_NE(std::string::npos, readFile(dir / "jinstall.log")
                                     .find("unable to open https://example.org/java, error: "));
}

// A second start in the same package directory, in any spelling (the short one too), touches
// nothing and ends with 20 while the first run waits on its box, and a shown one brings the first
// run's dialog forward; a run in another directory goes on beside it.
TEST_F(Launcher, ASecondStartInTheSamePackageDirectoryTouchesNothing)
{
    LauncherRun first(program(), "", dir.path());
    ASSERT_TRUE(first.started());
    ASSERT_NE(nullptr, waitForWindow(first, ErrorCaption)) << "the first run waits on its box";
    const std::vector<std::string> before = treeOf(dir.path(), TreeView::NamesSizesAttributes);
    std::string upper = dir.path();
    CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    char shortName[MAX_PATH] = "";
    GetShortPathNameA(dir.path().c_str(), shortName, sizeof shortName);
    ASSERT_NE(dir.path(), shortName);
    TempDir other;
    const std::pair<std::string, DWORD> rows[] = {
        {upper, 20}, {dir.path() + "\\", 20}, {shortName, 20}, {other.path(), 16}};
    for (const auto& [spelling, code] : rows)
        EXPECT_EQ(code, runProgram("\"" + program() + "\" -q x", spelling).exitCode) << spelling;
    HWND dialog = findWindow(first.id(), "Installer", false);
    ASSERT_NE(nullptr, dialog);
    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dialog));
    EXPECT_EQ(20u, runProgram("\"" + program() + "\"", dir.path()).exitCode);
    EXPECT_FALSE(IsIconic(dialog)) << "the first run's dialog is brought forward";
    EXPECT_EQ(before, treeOf(dir.path(), TreeView::NamesSizesAttributes));
    EXPECT_EQ(2u, closeErrorBoxes(first).size());
    ASSERT_TRUE(first.waitEnd());
    EXPECT_EQ(16u, first.exitCode());

    // The session's mutex of a directory, closed to this run (as an elevated run's is): held
    // elsewhere, and traced with its name.
    const std::string name = "Local\\QuorvanSetupRun-" + fileIdentity(other.path().c_str());
    SECURITY_ATTRIBUTES closed{sizeof closed, nullptr, FALSE};  // an empty access list
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:", SDDL_REVISION_1,
                                                         &closed.lpSecurityDescriptor, nullptr);
    const HANDLE mutex = CreateMutexA(&closed, FALSE, name.c_str());
    LocalFree(closed.lpSecurityDescriptor);
    writeFile(other / "jinstall.log", "");
    EXPECT_EQ(20u, runProgram("\"" + program() + "\" -q x", other.path()).exitCode);
    EXPECT_TRUE(traced("single-run mutex refused (access denied), held elsewhere: " + name,
                       other / "jinstall.log"));
    CloseHandle(mutex);
}

// A package directory that cannot be written, readOnlyPackage=stop: nothing in it changes, the
// logs go under TEMP, and a shown run shows one box naming it and the logs' folder (the quiet
// run's verdict is a hostile row). Its name, outside ASCII, is read back from box and logs.
TEST_F(Launcher, AnUnwritablePackageDirectoryIsToldAndLeftAlone)
{
    const Package accented(dir / "Caf\xe9 pkg");
    accented.put("qrv.control", "readOnlyPackage=stop\n");
    const std::string folder = accented.dir();
    const std::string logs = freshLogFolder(folder);
    const std::string named = toUtf8(folder.c_str());
    ASSERT_NE(folder, named);
    const std::vector<std::string> before = treeOf(folder, TreeView::NamesSizesAttributes);
    UnwritableDir locked(folder);
    ASSERT_TRUE(locked.made()) << "no immutable flag on this file system";
    const std::string message = "The package directory " + named + " cannot be written.\r\rCopy "
                                "the package to a writable folder and start it there.";
    const std::string details = "The logs of this run are in " + toUtf8(logs.c_str()) + ".";
    LauncherRun run(accented / "setup.exe", "", folder);
    ASSERT_TRUE(run.started());
    EXPECT_EQ(std::vector<std::string>{message + "\r\r" + details}, closeErrorBoxes(run));
    ASSERT_TRUE(run.waitEnd());
    EXPECT_EQ(21u, run.exitCode());
    EXPECT_EQ((std::vector<std::string>{message, details}), logMessages(logs + "\\errors.log"));
    expectTraced(logMessages(logs + "\\jinstall.log"),
                 {"package directory cannot be written: " + named, message, details});

    // A log folder that cannot be made (a file in its place) is not named as the logs' place.
    writeFile(freshLogFolder(folder), "");
    LauncherRun blocked(accented / "setup.exe", "", folder);
    ASSERT_TRUE(blocked.started());
    EXPECT_EQ(std::vector<std::string>{message + "\r\rThe logs of this run could not be written "
                                                 "to " + toUtf8(logs.c_str()) + "."},
              closeErrorBoxes(blocked));
    ASSERT_TRUE(blocked.waitEnd());
    EXPECT_EQ(21u, blocked.exitCode());
    EXPECT_EQ(before, treeOf(folder, TreeView::NamesSizesAttributes));
    DeleteFileA(logs.c_str());
}

TEST_F(Launcher, QuietRunLogsTheFailureAndRaisesNoBox)
{
    LauncherRun run(program(), "-q x", dir.path());
    ASSERT_TRUE(run.waitEnd()) << "a box would wait for an answer";
    EXPECT_FALSE(readFile(dir / "errors.log").empty());
    expectSemaphoresGone();
}

TEST_F(Launcher, EscapeClosesTheDialogWhileTheWorkerRunsOn)
{
    LauncherRun run(program(), "", dir.path());
    ASSERT_TRUE(run.started());
    HWND dialog = waitForWindow(run, "Installer");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("Unpacking the installer...", waitForStatusText(dialog));
    PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < PollLimit && IsWindow(dialog); ++i)
        Sleep(PollStepMs);
    EXPECT_FALSE(IsWindow(dialog));
    // The worker goes on: its failure box still comes, and the process waits for it.
    EXPECT_NE("(no box)", closeErrorBox(run));
    ASSERT_TRUE(run.waitEnd());
    expectSemaphoresGone();
}

// A wizard that keeps running: both windows are hidden while it runs, and the process waits on,
// hidden, for the wizard's end and ends with its code.
TEST_F(Launcher, DialogGoesWhileAWizardThatKeepsRunningRunsOn)
{
    const WaitingWizard wizard(package);
    LauncherRun run(program(), "", dir.path());
    ASSERT_TRUE(run.started());
    HWND dialog = waitForWindow(run, "Installer");
    ASSERT_NE(nullptr, dialog);
    ASSERT_TRUE(WaitingWizard::started(run, dir.path()));
    // Both windows: under Wine the main window goes seconds after the dialog (its hiding of a
    // window takes that long on our display), where Windows hides both at once.
    for (int i = 0; i < PollLimit && !run.ended() && findWindow(run.id(), "", true) != nullptr;
         ++i)
        Sleep(PollStepMs);
    EXPECT_FALSE(run.ended()) << "the launcher waits for the wizard";
    EXPECT_EQ(nullptr, findWindow(run.id(), "", true));
    EXPECT_TRUE(IsWindow(dialog) && !IsWindowVisible(dialog)) << "hidden, not closed";
    EXPECT_EQ(2u, jvmStarts(wizard.bin).size()) << "the test run and the one wizard";

    wizard.release();
    ASSERT_TRUE(run.waitEnd());
    EXPECT_EQ(0u, run.exitCode()) << "the wizard's code";
    expectSemaphoresGone();
    EXPECT_FALSE(exists(dir / "__qrvwizard.sem"));
}

// A quiet run waits for a wizard that keeps running as a shown run does, with no top-level
// window at all: its main window, which only holds the timer, is a message-only one.
TEST_F(Launcher, QuietRunWaitsForAWizardThatKeepsRunningWithoutATopLevelWindow)
{
    const WaitingWizard wizard(package);
    LauncherRun run(program(), "-q x", dir.path());
    ASSERT_TRUE(WaitingWizard::started(run, dir.path()));
    EXPECT_FALSE(run.ended()) << "the launcher waits for the wizard";
    EXPECT_EQ(nullptr, findWindow(run.id(), "", false));
    wizard.release();
    ASSERT_TRUE(run.waitEnd());
    EXPECT_EQ(0u, run.exitCode()) << "the wizard's code";
}

TEST_F(Launcher, StartDirElsewhereStartsTheCleanupCopyWithThePackageDirectory)
{
    package.copyBuilt("cleanup_recorder.exe", "cleanup.exe");
    writeFile(dir / "startdir.txt", "C:\\windows\r\n");
    LauncherRun run(program(), "-q x", dir.path());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitEnd());
    const std::string record = dir / "cleanup_recorder.record";
    for (int i = 0; i < PollLimit && !exists(record); ++i)
        Sleep(PollStepMs);
    const std::vector<RecordedStart> starts = recordedStarts(record);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(3u, starts[0].size()) << "its directory, its name and one argument";
    EXPECT_EQ((std::vector<std::string>{"__cleanup.exe"}), linesStartingWith(starts[0], "program="));
    EXPECT_EQ((std::vector<std::string>{dir.path()}), linesStartingWith(starts[0], "arg="));
    EXPECT_TRUE(exists(dir / "__cleanup.exe"));
}

TEST_F(Launcher, StartDirInAnotherCaseDeletesBothCleanupPrograms)
{
    std::string upper = dir.path();
    for (char& c : upper)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    // The same directory in other spellings: never handed to the cleanup program.
    for (const std::string& sameDir : {upper, dir.path() + "\\"}) {
        SCOPED_TRACE(sameDir);
        package.copyBuilt("cleanup_recorder.exe", "cleanup.exe");
        writeFile(dir / "startdir.txt", sameDir + "\n");
        LauncherRun run(program(), "-q x", dir.path());
        ASSERT_TRUE(run.started());
        ASSERT_TRUE(run.waitEnd());
        EXPECT_FALSE(exists(dir / "__cleanup.exe"));
        EXPECT_FALSE(exists(dir / "cleanup.exe"));
        EXPECT_FALSE(exists(dir / "cleanup_recorder.record"));
    }
}

TEST_F(Launcher, ACleanupProgramThatCannotBeCopiedNorStartedIsTraced)
{
    package.copyBuilt("cleanup_recorder.exe", "cleanup.exe");
    // A directory in the way of the copy, which can then not be started either.
    ASSERT_TRUE(CreateDirectoryA((dir / "__cleanup.exe").c_str(), nullptr));
    createTraceLog(dir.path());  // a trace the user asked for
    writeFile(dir / "startdir.txt", "C:\\windows\r\n");
    LauncherRun run(program(), "-q x", dir.path());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitEnd());
    expectTraced(logMessages(dir / "jinstall.log"),
                 {"unable to copy cleanup program to __cleanup.exe", "unable to start __cleanup.exe"});
}

} // namespace

namespace {

// Guards the run whose install-wait file cannot be written: the process must still wait for
// the worker (its failure reaches errors.log and its cleanup copy is made) before it ends.
TEST_F(Launcher, UncreatableWaitFileStillWaitsForTheWorker)
{
    ASSERT_TRUE(CreateDirectoryA((dir / "__qrvinstall.sem").c_str(), nullptr));
    LauncherRun run(program(), "-q x", dir.path());
    ASSERT_TRUE(run.started());
    ASSERT_TRUE(run.waitEnd());
    EXPECT_EQ(16u, run.exitCode()) << "the worker's verdict: no control file";
    expectTraced(logMessages(dir / "errors.log"),
                 {"Unable to open qrv.control", "unable to get parameters"});
}

} // namespace
