// A package on a software share or a disc, started by its UNC name as deployment tools start it
// (the caller enters the folder and passes no directory: Wine hands a UNC folder on only so).
// A writable share runs in place; a read-only one (a read-only bind mount) runs from a copy under
// TEMP that is gone once its cleanup program has ended, the share untouched.
#include "support/Package.h"
#include "system/SystemSupport.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

constexpr DWORD RunLimitMs = 90000;

std::string quoted(const std::string& windowsPath)
{
    return "'" + unixNameOf(windowsPath) + "'";
}

std::string prefixDir()
{
    const char* prefix = std::getenv("WINEPREFIX");
    return prefix != nullptr ? prefix : "";
}

// \\qrvserver\<name>, a share of the folder `dir`: a link in the prefix's dosdevices.
class Share {
public:
    Share(const std::string& name, const std::string& dir)
        : unc_("\\\\qrvserver\\" + name), link_(prefixDir() + "/dosdevices/unc/qrvserver/" + name)
    {
        made_ = !prefixDir().empty() &&
                runUnixScript("mkdir -p '" + prefixDir() + "/dosdevices/unc/qrvserver' && ln -sfn " +
                              quoted(dir) + " '" + link_ + "'");
    }
    ~Share() { runUnixScript("rm -f '" + link_ + "'"); }
    Share(const Share&) = delete;
    Share& operator=(const Share&) = delete;
    bool made() const { return made_; }
    const std::string& unc() const { return unc_; }

private:
    std::string unc_;
    std::string link_;
    bool made_ = false;
};

// A read-only view of `dir` at `view`, unmounted in every outcome.
class ReadOnlyView {
public:
    ReadOnlyView(const std::string& dir, const std::string& view) : view_(view)
    {
        makeDirs(view);
        mounted_ = runUnixScript("mount --bind " + quoted(dir) + " " + quoted(view) +
                                 " && mount -o remount,bind,ro " + quoted(view));
        unixView_ = unixNameOf(view);
    }
    ~ReadOnlyView() { runUnixScript("umount '" + unixView_ + "'"); }
    ReadOnlyView(const ReadOnlyView&) = delete;
    ReadOnlyView& operator=(const ReadOnlyView&) = delete;
    bool made() const { return mounted_; }

private:
    std::string view_;
    std::string unixView_;
    bool mounted_ = false;
};

// A drive Q: of 512 KiB (a small tmpfs) as TEMP of the programs started meanwhile.
class SmallTemp {
public:
    explicit SmallTemp(const std::string& dir) : unixDir_((makeDirs(dir), unixNameOf(dir)))
    {
        mounted_ = runUnixScript("mount -t tmpfs -o size=512k tmpfs '" + unixDir_ + "' && ln -sfn '" +
                                 unixDir_ + "' '" + prefixDir() + "/dosdevices/q:'");
        temp_.emplace("TEMP", "Q:\\");
        tmp_.emplace("TMP", "Q:\\");
    }
    ~SmallTemp()
    {
        temp_.reset();
        tmp_.reset();
        runUnixScript("rm -f '" + prefixDir() + "/dosdevices/q:'; umount '" + unixDir_ + "'");
    }
    SmallTemp(const SmallTemp&) = delete;
    SmallTemp& operator=(const SmallTemp&) = delete;
    bool made() const { return mounted_; }

private:
    std::string unixDir_;
    bool mounted_ = false;
    std::optional<EnvOverride> temp_;
    std::optional<EnvOverride> tmp_;
};

// The folders of package copies under `temp` (with its backslash).
std::vector<std::string> packageCopies(const std::string& temp)
{
    std::vector<std::string> copies;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((temp + "qrv-copy-*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
        copies.push_back(temp + found.cFileName);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return copies;
}

std::string tempDir()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    return temp;
}

class Shares : public InTempDir {
protected:
    // A process started in the share's folder, which it is handed on as its current directory.
    PROCESS_INFORMATION startInShare(const std::string& arguments)
    {
        char saved[MAX_PATH * 4];
        const DWORD length = GetCurrentDirectoryA(sizeof saved, saved);
        PROCESS_INFORMATION process{};
        if (length == 0 || length >= sizeof saved || !SetCurrentDirectoryA(share->unc().c_str()))
            return process;
        std::string commandLine = "\"" + share->unc() + "\\setup.exe\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            process = PROCESS_INFORMATION{};
        SetCurrentDirectoryA(saved);
        return process;
    }
    // Its exit code once it has ended; 259 when it did not end in time.
    static DWORD finish(PROCESS_INFORMATION& process)
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process.hProcess, RunLimitMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, 255);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    // A package whose wizard runs on a stand-in 1.6 JVM outside the share.
    void wizardPackage(const std::string& wizard = "create")
    {
        placeStandinJvm(jvmBin, "1.6.0_20", "good", wizard);
        keys.emplace("1.6", dir / "jre 1.6");
        Package package(shareDir, false);
        package.wizardFiles("jvmRequiredVersion=1.6\r\njvmCommandName=java.exe\r\n");
        package.copyBuilt("setup.exe");
        package.copyBuilt("cleanup.exe");
    }

    struct Row {
        const char* what;
        bool readOnly;
        std::function<void()> layout;
        std::string arguments;
        DWORD code;
        std::function<void()> check;
        std::function<void()> meanwhile = [] {};  // once the share is there, before the run
    };

    // Each row in a share of its own; a read-only row's copy must be gone once its cleanup
    // program has ended, and its share unchanged.
    void expectRuns(const std::vector<Row>& rows)
    {
        int number = 0;
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            const std::string name = "share" + std::to_string(++number);
            shareDir = dir / name;
            makeDirs(shareDir);
            row.layout();
            const std::string view = dir / (name + "-ro");
            std::optional<ReadOnlyView> readOnly;
            if (row.readOnly) {
                readOnly.emplace(shareDir, view);
                ASSERT_TRUE(readOnly->made()) << "no read-only bind mount here";
            }
            share.emplace(name, row.readOnly ? view : shareDir);
            ASSERT_TRUE(share->made());
            const auto before = treeOf(shareDir, TreeView::NamesSizesAttributes);
            row.meanwhile();
            logs = freshLogFolder(share->unc());
            PROCESS_INFORMATION process = startInShare(row.arguments);
            ASSERT_NE(nullptr, process.hProcess) << "not started in " << share->unc();
            EXPECT_EQ(row.code, finish(process));
            row.check();
            if (row.readOnly) {
                EXPECT_TRUE(waitUntil([] { return packageCopies(tempDir()).empty(); }, 60000))
                    << "the copy stays";
                EXPECT_EQ(before, treeOf(shareDir, TreeView::NamesSizesAttributes));
            }
            share.reset();
            readOnly.reset();
            keys.reset();
        }
    }

    std::vector<RecordedStart> wizards() const { return wizardStarts(jvmBin); }

    const std::string jvmBin = dir / "jre 1.6\\bin";
    std::string shareDir;
    std::string logs;
    std::optional<Share> share;
    std::optional<JvmKeys> keys;
    std::optional<SmallTemp> smallTemp;
    std::optional<MachineWithoutJvms> machine;
    PROCESS_INFORMATION first{};
};

TEST_F(Shares, PackagesOnSharesAndDiscs)
{
    const auto ranOnceIn = [this](const std::string& where) {
        const auto starts = wizards();
        ASSERT_EQ(1u, starts.size());
        const auto cwd = linesStartingWith(starts[0], "cwd=");
        ASSERT_EQ(1u, cwd.size());
        EXPECT_EQ(0u, cwd[0].find(where)) << cwd[0];
        DeleteFileA((jvmBin + "\\fakejvm.record").c_str());
    };
    expectRuns({
        {"writable share, main road", false, [&] { wizardPackage(); }, "-q x", 0,
         [&] {
             ranOnceIn(share->unc());
             EXPECT_EQ((std::vector<std::string>{"TestJvm.class", "qrv.control", "setup.exe"}),
                       treeOf(shareDir));
         }},
        {"read-only share, quiet", true, [&] { wizardPackage(); }, "-q x", 0,
         [&] { ranOnceIn(tempDir() + "qrv-copy-"); }},
        {"read-only share, shown", true, [&] { wizardPackage(); }, "", 0,
         [&] { ranOnceIn(tempDir() + "qrv-copy-"); }},
        {"read-only share, a failed run's logs", true,
         [&] {
             wizardPackage();
             Package(shareDir, false).put("qrv.control", "jvmRequiredVersion=9.9\n");
         },
         "-q x", 17,
         [&] {
             EXPECT_NE(std::string::npos,
                       readTextFile(logs + "\\errors.log").find("You need version 9.9"));
         }},
        {"read-only share, a second start while the first runs", true,
         [&] { wizardPackage("wait"); }, "-q x", 20,
         [&] {
             writeFile(jvmBin + "\\fakejvm.release", "");
             EXPECT_EQ(0u, finish(first));
             ranOnceIn(tempDir() + "qrv-copy-");
             DeleteFileA((jvmBin + "\\fakejvm.release").c_str());
         },
         [&] {
             first = startInShare("-q x");
             ASSERT_NE(nullptr, first.hProcess);
             EXPECT_TRUE(waitUntil([&] { return wizards().size() == 1; }, 60000));
         }},
        {"read-only share, TEMP too small", true, [&] { wizardPackage(); }, "-q x", 21,
         [&] {
             EXPECT_NE(std::string::npos, readTextFile(logs + "\\errors.log").find("MiB free"))
                 << logs;
             EXPECT_EQ((std::vector<std::string>{}), packageCopies("Q:\\"));
             EXPECT_TRUE(wizards().empty());
             smallTemp.reset();
         },
         [&] {
             smallTemp.emplace(dir / "small");
             ASSERT_TRUE(smallTemp->made());
         }},
        {"writable share, expansion road", false,
         [&] {
             machine.emplace();
             Package package(shareDir, false);
             package.expander("jre131.exe", "version=1.3.1\nlayout=bin\n");
             package.wizardFiles("jvmMinVersion=1.3\r\njvmVersion=1.3.1\r\njvmName=JRE\r\n"
                                 "jvmCommandName=java.exe\r\n"
                                 "jvmInstallerType=selfExtratorJvmInstaller\r\n"
                                 "jvmSelfExtractor=jre131.exe\r\npredefinedJvmInstallDir=" +
                                 forwardSlashes(dir / "jvms\\1.3.1") + "\r\n");
             package.copyBuilt("setup.exe");
         },
         "-q x", 0,
         [&] {
             EXPECT_EQ(1u, Package(shareDir, false).starts("fakeexpander").size());
             EXPECT_TRUE(exists(dir / "jvms\\1.3.1\\bin\\java.exe"));
             machine.reset();
         }},
    });
}

} // namespace
