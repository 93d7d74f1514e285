#include "install/Install.h"
#include "install/InstallTexts.h"
#include "support/TestSupport.h"

#include <cstring>

using namespace qrvtest;

namespace {

class Driver : public InTempDirWithRegistry {
protected:
    bool run(bool quiet = true)
    {
        char details[] = "";
        return startProgram(quiet, false, details, "");
    }
};

bool contains(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& line : lines) {
        if (line == text)
            return true;
    }
    return false;
}

} // namespace

TEST(DriverTexts, OtherCausesTextHasItsFullLength)
{
    EXPECT_EQ(292u, std::strlen(install_names::otherCausesText));
}

TEST_F(Driver, FailureWithoutAControlFileLogsTheDefaultTexts)
{
    EXPECT_FALSE(run());
    const std::string message = std::string("Unable to install application.\r\r") +
                                install_names::diskSpaceText;
    const std::string errors = readTextFile("errors.log");
    EXPECT_NE(std::string::npos, errors.find(message)) << errors;
    EXPECT_NE(std::string::npos, errors.find(install_names::otherCausesText)) << errors;
    EXPECT_NE(std::string::npos, errors.find("unable to get parameters")) << errors;
    const std::string trace = readTextFile("jinstall.log");
    EXPECT_NE(std::string::npos, trace.find(message)) << trace;
}

TEST_F(Driver, ATraceLogThatExistedBeforeTheRunGetsTheHeaderAndIsKept)
{
    writeFile("jinstall.log", "");
    EXPECT_FALSE(run());
    const std::vector<std::string> lines = logMessages("jinstall.log");
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ("", lines[0]);
    EXPECT_EQ("Preparing Java install wizard", lines[1]);
    EXPECT_EQ("Quite install: true", lines[2]);
    EXPECT_EQ("Properties install: false", lines[3]);
    EXPECT_TRUE(contains(lines, "set status quite"));
    EXPECT_FALSE(exists("jinstall.sem"));
}

TEST_F(Driver, ARunWithoutATraceLogCreatesItWithItsMarkerAfterTheHeader)
{
    EXPECT_FALSE(run());
    ASSERT_TRUE(exists("jinstall.log"));
    const std::vector<std::string> lines = logMessages("jinstall.log");
    EXPECT_FALSE(contains(lines, "Preparing Java install wizard"));
    EXPECT_TRUE(contains(lines, "unable to get parameters"));
    // a failed run keeps its trace log, ending with the verdict, and drops the marker
    EXPECT_EQ("install ok: false", lines.back());
    EXPECT_FALSE(exists("jinstall.sem"));
}
