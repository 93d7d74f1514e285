#include "install/ReadOnlyPackage.h"

#include "install/PathRules.h"
#include "support/LogCheck.h"
#include "support/TestSupport.h"

using namespace qrvtest;

namespace {

// A package that cannot be written, and one too deep to start a program in, are refused before
// the run writes anything there: each ends with its own exit code and leaves its text in both
// logs of a folder under TEMP named after the package directory.
TEST(ReadOnlyPackage, EachRefusalEndsWithItsCodeAndItsLogsUnderTemp)
{
    TempDir dir;
    makeDirs(dir / "temp");
    const EnvOverride tmp("TMP", dir / "temp"), temp("TEMP", dir / "temp");
    struct Row {
        std::string package;
        int exitCode;
        std::string traced, message;
    };
    const std::string locked = dir / "locked", deep = dir / "deep";
    const Row rows[] = {
        {locked, 21, "package directory cannot be written: " + locked,
         "The package directory " + locked + " cannot be written.\r\rCopy the package to a "
         "writable folder and start it there."},
        {deep, 19, "package directory too long to start a program in: " + deep,
         "The path of the package directory " + deep + " is longer than the 100 characters a "
         "program can be started in, and it has no short name.\r\rMove the package to a folder "
         "with a shorter path and start it there."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.package);
        ReadOnlyPackage refusal(row.package.c_str());
        EXPECT_EQ(row.exitCode,
                  row.exitCode == 21 ? refusal.report(true) : refusal.reportTooDeep(true, 100));
        const std::string logs = dir / "temp\\" + logFolderName(row.package);
        const std::string details = "The logs of this run are in " + logs + ".";
        EXPECT_EQ((std::vector<std::string>{row.message, details}),
                  logMessages(logs + "\\errors.log"));
        expectTraced(logMessages(logs + "\\jinstall.log"),
                     {"Preparing Java install wizard", row.traced, row.message, details});
    }
}

} // namespace
