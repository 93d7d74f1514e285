#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "jvm/discovery/VersionRules.h"
#include "jvm/provision/JvmDirRules.h"
#include "util/AsciiCase.h"

namespace {

TEST(JvmDirRules, SplitsVersionIntoFamilyAndMicro)
{
    struct Row {
        const char* version;
        const char* family;
        const char* micro;
    };
    const Row rows[] = {
        {"1.3.1", "1.3", "1"},   {"1.4.2_05", "1.4", "2_05"}, {"1.3", "1.3", "0"},
        {"1", "1", "0"},         {"", "", "0"},               {"1.2.3.4", "1.2.3", "4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.version);
        char family[201];
        char micro[201];
        EXPECT_TRUE(version_rules::parseVersion(row.version, family, sizeof family, micro, sizeof micro));
        EXPECT_STREQ(row.family, family);
        EXPECT_STREQ(row.micro, micro);
    }
}

TEST(JvmDirRules, SplitReportsAVersionTooLongForItsBuffers)
{
    char family[4];
    char micro[4];
    EXPECT_FALSE(version_rules::parseVersion("10.20.30", family, sizeof family, micro, sizeof micro));
    EXPECT_STREQ("10.", family);
    EXPECT_STREQ("30", micro);
}

TEST(JvmDirRules, ClassifiesTheDirectoryVariables)
{
    EXPECT_EQ(DirVariable::None, classifyPredefinedDir("D:\\Tools\\jvm"));
    EXPECT_EQ(DirVariable::None, classifyPredefinedDir(""));
    EXPECT_EQ(DirVariable::ProgFilesDir, classifyPredefinedDir("[$ProgFilesDir]"));
    EXPECT_EQ(DirVariable::WinDir, classifyPredefinedDir("[$WinDir]\\x"));
    EXPECT_EQ(DirVariable::AppDir, classifyPredefinedDir("[$AppDir]runtime"));
    EXPECT_EQ(DirVariable::AppDir, classifyPredefinedDir("[$AppDir]\\x"));
    EXPECT_EQ(DirVariable::Unknown, classifyPredefinedDir("[$AppDirectory]\\x"));
    EXPECT_EQ(DirVariable::Unknown, classifyPredefinedDir("[$AppDi]\\x"));
    EXPECT_EQ(DirVariable::Unknown, classifyPredefinedDir("[$Home]\\x"));
    // The variable names are case-sensitive.
    EXPECT_EQ(DirVariable::Unknown, classifyPredefinedDir("[$windir]\\x"));
}

TEST(JvmDirRules, SubstitutesAVariableOnlyWhenASeparatorAndMoreFollow)
{
    struct Row {
        const char* text;
        VariableResult result;
        const char* out;
    };
    const Row rows[] = {
        {"[$ProgFilesDir]\\MyApp\\jvm", VariableResult::Substituted, "C:\\Program Files\\MyApp\\jvm"},
        {"[$ProgFilesDir]", VariableResult::NoSeparator, ""},
        {"[$ProgFilesDir]x\\y", VariableResult::NoSeparator, ""},
        {"[$ProgFilesDir]\\", VariableResult::NothingAfter, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        char out[100] = "poison";
        EXPECT_EQ(row.result, substituteVariable("[$ProgFilesDir]", "C:\\Program Files",
                                                 row.text, out, sizeof out));
        EXPECT_STREQ(row.out, out);
    }
    char small[12] = "poison";
    EXPECT_EQ(VariableResult::TooLong,
              substituteVariable("[$WinDir]", "C:\\WINDOWS", "[$WinDir]\\jvm", small, sizeof small));
    EXPECT_STREQ("", small);
}

TEST(JvmDirRules, JoinsPathLevels)
{
    char out[32];
    EXPECT_TRUE(joinPathLevel("", "jvm", out, sizeof out));
    EXPECT_STREQ("jvm", out);
    EXPECT_TRUE(joinPathLevel("C:", "jvm", out, sizeof out));
    EXPECT_STREQ("C:\\jvm", out);
    EXPECT_TRUE(joinPathLevel("C:\\", "jvm", out, sizeof out));
    EXPECT_STREQ("C:\\jvm", out);
    // A level that does not fit is refused, never cut into some other name.
    char small[8];
    EXPECT_FALSE(joinPathLevel("C:\\abc", "jvm", small, sizeof small));
    EXPECT_STREQ("", small);
}

TEST(JvmDirRules, SplitsASearchPathIntoEntries)
{
    struct Row {
        const char* path;
        std::vector<std::string> entries;
    };
    const Row rows[] = {
        {"a;b", {"a", "b"}},
        {";a", {"", "a"}},
        {"a;;b", {"a", "", "b"}},
        {"a;", {"a"}},
        {"", {}},
        {";", {""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        std::vector<std::string> entries;
        size_t position = 0;
        char entry[50];
        bool cut = true;
        while (nextPathEntry(row.path, position, entry, sizeof entry, cut)) {
            EXPECT_FALSE(cut);
            entries.push_back(entry);
        }
        EXPECT_EQ(row.entries, entries);
    }
    size_t position = 0;
    char small[4];
    bool cut = false;
    ASSERT_TRUE(nextPathEntry("abcdef;g", position, small, sizeof small, cut));
    EXPECT_TRUE(cut);
    EXPECT_STREQ("abc", small);
    ASSERT_TRUE(nextPathEntry("abcdef;g", position, small, sizeof small, cut));
    EXPECT_FALSE(cut);
    EXPECT_STREQ("g", small);
    // An entry as long as the buffer leaves no room for its end: cut. One shorter fits.
    position = 0;
    ASSERT_TRUE(nextPathEntry("abcd;abc", position, small, sizeof small, cut));
    EXPECT_TRUE(cut);
    EXPECT_STREQ("abc", small);
    ASSERT_TRUE(nextPathEntry("abcd;abc", position, small, sizeof small, cut));
    EXPECT_FALSE(cut);
    EXPECT_STREQ("abc", small);
    EXPECT_FALSE(nextPathEntry("abcd;abc", position, small, sizeof small, cut));

    // A copy of a PATH cut after `kept` characters keeps its whole entries only.
    const struct {
        const char* path;
        size_t kept;
        size_t whole;
    } cuts[] = {{"ab;cdef", 5, 3}, {"ab;cd;ef", 5, 5}, {"abcdef", 3, 0},
                {"ab;cd", 5, 5},   {"ab;;cd", 3, 3},   {"ab;cd", 3, 3}};
    for (const auto& row : cuts) {
        SCOPED_TRACE(std::string(row.path) + " " + std::to_string(row.kept));
        EXPECT_EQ(row.whole, wholePathEntriesLength(row.path, row.kept));
    }
}

TEST(JvmDirRules, DriveKindAndLowerCaseName)
{
    struct Row {
        const char* path;
        const char* drive;
    };
    const Row rows[] = {
        {"C:\\Program Files", "C:"}, {"D:", "D:"}, {"relative\\dir", ""},
        {"", ""},                    {"\\\\server\\x:y", "\\\\server\\x:"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        char drive[50];
        std::memset(drive, 0xbd, sizeof drive);
        driveOfPath(row.path, drive, sizeof drive);
        EXPECT_STREQ(row.drive, drive);
    }
    char small[3];
    driveOfPath("C:\\x", small, sizeof small);
    EXPECT_STREQ("C:", small);
    driveOfPath("AB:\\x", small, sizeof small);
    EXPECT_STREQ("", small);
    char one[2] = {'\xbd', '\xbd'};
    driveOfPath("nodrive", one, 1);
    EXPECT_EQ(std::string("\0\xbd", 2), std::string(one, 2));

    EXPECT_TRUE(isJavaSoftKind("JRE"));
    EXPECT_TRUE(isJavaSoftKind("JDK"));
    EXPECT_TRUE(isJavaSoftKind("Java Plug-in"));
    EXPECT_FALSE(isJavaSoftKind("jre"));
    EXPECT_FALSE(isJavaSoftKind("Runtime"));
    EXPECT_FALSE(isJavaSoftKind("JRE "));
    EXPECT_FALSE(isJavaSoftKind(""));

    // The JVM's own directory level is named by kind and family in lower case.
    char name[] = "Java Plug-in1.4 AZ@[`{";
    lowerAsciiInPlace(name);
    EXPECT_STREQ("java plug-in1.4 az@[`{", name);
}

} // namespace
