#include "jvm/discovery/VersionRules.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

using namespace version_rules;

namespace {

struct VersionCase {
    const char* version;
    const char* required;
    const char* minimum;
    const char* maximum;
    bool accepted;
};

const VersionCase versionCases[] = {
    // A setting matches every version that begins with it.
    {"1.4.2_05", "1.4", "", "", true},
    {"1.4", "1.4", "", "", true},
    {"1.4.1", "1.4", "9", "1.0", true},  // MIN and MAX are not looked at when R is set
    {"1.4.1_02", "1.4.2", "", "", false},
    {"1.4", "1.4.2", "", "", false},  // shorter than the setting: compared whole
    {"1.4.2_05", "1.4.2_05", "", "", true},
    {"1.4.2_05", "1.4.2_05", "", "", true},
    {"jdk1.4", "JDK1.4", "", "", true},  // without regard to case
    {"1.5.0", "", "1.4", "", true},
    {"1.6.0", "", "1.4", "1.5", false},
    {"1.5.0_22", "", "1.4", "1.5", true},
    {"1.4.0", "", "1.4", "1.5", true},
    {"1.3.1", "", "1.4", "", false},
    {"1.3", "", "1.3.1", "", false},  // a proper prefix sorts first
    {"1.10.0", "", "1.4", "", false},  // text, not numbers
    {"10.0", "", "1.4", "", true},
    {"9", "", "1.4", "", true},
    {"10.0", "", "1.4", "1.6", false},
    {"1.7.0", "", "", "", true},
    {"", "", "", "", true},
    {"", "1.4", "", "", false},
    {"", "", "1.4", "", false},
    {"0.9", "", "", "1.6", true},  // empty MIN accepts anything at the lower bound
};

TEST(VersionRules, VerifyVersionTable)
{
    for (const VersionCase& c : versionCases) {
        EXPECT_EQ(c.accepted, verifyVersion(c.required, c.minimum, c.maximum, c.version))
            << "V=" << c.version << " R=" << c.required << " MIN=" << c.minimum
            << " MAX=" << c.maximum;
    }
}

TEST(VersionRules, ExtractVersionTakesFirstToLastDigit)
{
    const std::pair<const char*, const char*> cases[] = {
        {"java.version=1.4.2_05\n", "1.4.2_05"},
        {"\"1.6.0_07\"\n", "1.6.0_07"},
        {"1.5.0-beta2", "1.5.0-beta2"},
        {"version 17", "17"},
        {"7", "7"},
        {"no digits at all\n", ""},
        {"", ""},
        {"\n", ""},
    };
    for (const auto& c : cases) {
        char line[1000];
        std::snprintf(line, sizeof line, "%s", c.first);
        extractVersion(line);
        EXPECT_EQ(std::string(c.second), line) << c.first;
    }
}

TEST(VersionRules, ParseVersionTable)
{
    const char* cases[][3] = {
        {"1.4.2", "1.4", "2"},     {"1.4.2_05", "1.4", "2_05"}, {"1.6.0", "1.6", "0"},
        {"1.4", "1.4", "0"},       {"1", "1", "0"},             {"1.2.3.4", "1.2.3", "4"},
        {"", "", "0"},             {"1.4.", "1.4", ""},
    };
    for (const auto& c : cases) {
        char family[50];
        char micro[50];
        parseVersion(c[0], family, sizeof family, micro, sizeof micro);
        EXPECT_STREQ(c[1], family) << c[0];
        EXPECT_STREQ(c[2], micro) << c[0];
    }
}

TEST(VersionRules, ParseVersionCutsToTheBuffers)
{
    char family[4];
    char micro[2];
    parseVersion("1.44.2_05", family, sizeof family, micro, sizeof micro);
    EXPECT_STREQ("1.4", family);
    EXPECT_STREQ("2", micro);
}

TEST(VersionRules, JavaHomeDirectoryTable)
{
    const char* cases[][2] = {
        {"C:\\j2sdk1.4.2\\jre\\bin\\java.exe", "C:\\j2sdk1.4.2\\jre"},
        {"C:\\Java\\BIN\\java.exe", "C:\\Java\\BIN"},
        {"java.exe", "java.exe"},
        {"C:\\jre\\java.exe", "C:\\jre"},
        // "bin" inside a longer name is part of the home's own name.
        {"C:\\Users\\robin\\jre\\java.exe", "C:\\Users\\robin\\jre"},
        {"C:\\binaries\\jre\\bin\\java.exe", "C:\\binaries\\jre"},
        {"C:\\jvms\\robin\\java.exe", "C:\\jvms\\robin"},
        {"C:\\apps\\bin\\jre\\java.exe", "C:\\apps"},
        {"bin\\java.exe", "bin"},
    };
    for (const auto& c : cases) {
        char home[5001];
        getJavaHomeDirectory(c[0], home, sizeof home);
        EXPECT_STREQ(c[1], home) << c[0];
    }
}

TEST(VersionRules, JavaFormOfOldRuntimeNames)
{
    char name[20] = "jrew.exe";
    EXPECT_TRUE(javaFormOfName(name, sizeof name, false));
    EXPECT_STREQ("java.exe", name);
    char windowed[20] = "jre.exe";
    EXPECT_TRUE(javaFormOfName(windowed, sizeof windowed, true));
    EXPECT_STREQ("javaw.exe", windowed);
    char other[20] = "JRE.exe";
    EXPECT_FALSE(javaFormOfName(other, sizeof other, true));
    EXPECT_STREQ("JRE.exe", other);
}

} // namespace
