// A package on a share or a disc, started by its UNC name as deployment tools start it: a
// writable share runs in place; a read-only one (a read-only bind mount) runs from a copy under
// TEMP that is gone once its cleanup program has ended, the share untouched.
#include "support/Package.h"
#include "system/SystemSupport.h"
#include "util/clib.h"
#include "util/fexists.h"

#include <windows.h>

#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

using namespace qrvtest;
using namespace systemtest;

namespace {

class Shares : public InTempDir {
protected:
    // Runs the share's launcher in the share's folder, which it is handed on so.
    RunResult runInShare(const std::string& arguments)
    {
        char saved[MAX_PATH * 4];
        GetCurrentDirectoryA(sizeof saved, saved);
        EXPECT_TRUE(SetCurrentDirectoryA(unc.c_str())) << unc;
        const RunResult result = runProgram("\"" + unc + "\\setup.exe\" " + arguments, "", 90000);
        SetCurrentDirectoryA(saved);
        return result;
    }

    // The folders of package copies in `temp`.
    static std::vector<std::string> copiesIn(const std::string& temp)
    {
        std::vector<std::string> copies;
        listDir(temp.c_str(), copies, "qrv-copy-*");
        return copies;
    }
    // A package whose wizard runs on a stand-in 1.6 JVM outside the share.
    void wizardPackage(const std::string& wizard = "create", const std::string& control = "")
    {
        placeStandinJvm(jvmBin, "1.6.0_20", "good", wizard);
        keys.emplace("1.6", dir / "jre 1.6");
        Package package(shareDir, false);
        package.wizardFiles("jvmRequiredVersion=1.6\r\njvmCommandName=java.exe\r\n" + control);
        package.copyBuilt("setup.exe");
        package.copyBuilt("cleanup.exe");
    }
    // The one wizard start of the run began in `where`.
    void ranOnceIn(const std::string& where)
    {
        const auto starts = wizardStarts(jvmBin);
        ASSERT_EQ(1u, starts.size());
        EXPECT_EQ(0u, linesStartingWith(starts[0], "cwd=").at(0).find(where)) << starts[0][0];
        DeleteFileA((jvmBin + "\\fakejvm.record").c_str());
    }

    struct Row {
        const char* what;
        bool readOnly;
        std::function<void()> layout;  // once the share is there: the package, the machine
        std::string arguments;
        DWORD code;
        std::function<void()> check;
    };

    // Each row in a share of its own, which a read-only row sees through a read-only bind mount:
    // its copy must be gone once its cleanup program has ended, and the share unchanged.
    void expectRuns(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.what);
            const std::string name = "share" + std::to_string(&row - rows.data());
            shareDir = dir / name;
            const std::string view = dir / (name + "-ro");
            makeDirs(shareDir);
            makeDirs(view);
            const std::string from = quotedUnixName(shareDir), to = quotedUnixName(view);
            std::optional<UnixChange> readOnly;
            if (row.readOnly)
                readOnly.emplace("mount --bind " + from + " " + to +
                                     " && mount -o remount,bind,ro " + to, "umount " + to);
            ASSERT_TRUE(!readOnly || readOnly->made()) << "no read-only bind mount here";
            const std::string link = "'" + prefix + "/dosdevices/unc/qrvserver/" + name + "'";
            const UnixChange share("mkdir -p '" + prefix + "/dosdevices/unc/qrvserver' && " +
                                       "ln -sfn " + (row.readOnly ? to : from) + " " + link,
                                   "rm -f " + link);
            ASSERT_TRUE(share.made());
            unc = "\\\\qrvserver\\" + name;
            row.layout();
            const auto before = treeOf(shareDir, TreeView::NamesSizesAttributes);
            logs = freshLogFolder(unc);
            EXPECT_EQ(row.code, runInShare(row.arguments).exitCode);
            row.check();
            if (row.readOnly) {
                EXPECT_TRUE(waitUntil([] { return copiesIn(tempDirectory()).empty(); }, 60000));
                EXPECT_EQ(before, treeOf(shareDir, TreeView::NamesSizesAttributes));
            }
            keys.reset();
        }
    }

    const std::string prefix = std::getenv("WINEPREFIX");
    const std::string jvmBin = dir / "jre 1.6\\bin";
    std::string shareDir;
    std::string logs;
    std::string unc;
    std::optional<JvmKeys> keys;
    std::optional<UnixChange> smallTemp;
    std::optional<EnvOverride> smallTempVariable;
    std::optional<MachineWithoutJvms> machine;
    std::future<RunResult> first;
};

TEST_F(Shares, PackagesOnSharesAndDiscs)
{
    const std::string inCopy = tempDirectory() + "qrv-copy-";
    std::string stale, other;  // copies a killed run left: of this package, of another
    expectRuns({
        {"writable share, main road", false, [&] { wizardPackage(); }, "-q x", 0,
         [&] {
             ranOnceIn(unc);
             EXPECT_EQ((std::vector<std::string>{"TestJvm.class", "qrv.control", "setup.exe"}),
                       treeOf(shareDir));
         }},
        {"read-only share, shown, after a run killed in its copy", true,
         [&] {
             wizardPackage();
             const std::string tagged = freshLogFolder(unc);  // ends in the path's tag
             makeDirs(stale = inCopy + tagged.substr(tagged.size() - 8) + "-7");
             makeDirs(other = inCopy + "00000000-7");
         }, "", 0,
         [&] {
             ranOnceIn(inCopy);
             EXPECT_FALSE(isDir(stale.c_str()));
             EXPECT_TRUE(isDir(other.c_str()) && delDirTree(other.c_str()));
         }},
        {"read-only share, a failed run's logs", true,
         [&] { wizardPackage("create", "jvmRequiredVersion=9.9\n"); }, "-q x", 17,
         [&] { EXPECT_NE(std::string::npos, readTextFile(logs + "\\errors.log").find("9.9")); }},
        {"read-only share, quiet, and a second start while it runs", true,
         [&] {
             wizardPackage("wait");
             // The share's folder stays the current directory while the first run goes on.
             first = std::async(std::launch::async, [this] { return runInShare("-q x"); });
             EXPECT_TRUE(waitUntil([&] { return wizardStarts(jvmBin).size() == 1; }, 60000));
         },
         "-q x", 20,
         [&] {
             writeFile(jvmBin + "\\fakejvm.release", "");
             EXPECT_EQ(0u, first.get().exitCode);
             ranOnceIn(inCopy);
             DeleteFileA((jvmBin + "\\fakejvm.release").c_str());
         }},
        {"read-only share, TEMP too small", true,
         [&] {
             wizardPackage();
             const std::string small = dir / "small";
             const std::string drive = " '" + prefix + "/dosdevices/q:'";
             makeDirs(small);
             smallTemp.emplace("mount -t tmpfs -o size=512k tmpfs " + quotedUnixName(small) +
                                   " && ln -sfn " + quotedUnixName(small) + drive,
                               "rm -f" + drive + "; umount " + quotedUnixName(small));
             ASSERT_TRUE(smallTemp->made());
             smallTempVariable.emplace("TMP", "Q:\\");  // before TEMP, as the system reads them
         },
         "-q x", 21,
         [&] {
             EXPECT_NE(std::string::npos, readTextFile(logs + "\\errors.log").find("MiB free"));
             EXPECT_EQ((std::vector<std::string>{}), copiesIn("Q:\\"));
             smallTempVariable.reset();
             smallTemp.reset();
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
         "-q x", 0, [&] { machine.reset(); }},
    });
}

} // namespace
