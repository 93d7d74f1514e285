#include "jvm/discovery/VersionRules.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

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
    // Components compare as numbers: 1.10 is newer than 1.4, 9 older than 11.
    {"1.10.0", "", "1.4", "", true},
    {"10.0", "", "1.4", "", true},
    {"9", "", "1.4", "", true},
    {"10.0", "", "1.4", "1.6", false},
    {"1.7.0", "", "", "", true},
    {"", "", "", "", true},
    {"", "1.4", "", "", false},
    {"", "", "1.4", "", false},
    {"0.9", "", "", "1.6", true},  // empty MIN accepts anything at the lower bound
    {"9.0.4", "", "11", "", false},
    {"17.0.2", "", "11", "", true},
    {"11", "", "11", "", true},
    {"8", "", "17", "", false},
    {"1.8.0_392", "", "17", "", false},
    {"17.0.9", "17", "", "", true},
    {"170", "17", "", "", false},  // a setting is a prefix by whole components only
    {"1.41", "1.4", "", "", false},
    {"17+35", "17", "", "", true},
    {"11", "", "1.4", "1.8", false},
    {"1.8.0_392", "", "1.4", "1.8", true},
    {"1.8.0_392", "", "1.8.0_400", "", false},  // 392 < 400 although "3" > "4" is false
    {"1.8.0_1000", "", "1.8.0_999", "", true},
    {"1.4.2", "", "1.4", "1.04", true},  // leading zeros do not count
    {"1.5.0-BETA2", "1.5.0-beta2", "", "", true},
    {"1.5.0-beta", "", "", "1.5.0", true},
    {"1.5.0-beta", "1.5.0.0", "", "", false},  // digits sort before other text
    // Digit runs far beyond any integer type compare by length, then digit by digit.
    {"123456789012345678901234567890.1", "", "123456789012345678901234567889", "", true},
    {"00000000000000000000000000000000009", "", "10", "", false},
};

TEST(VersionRules, VerifyVersionTable)
{
    for (const VersionCase& c : versionCases) {
        EXPECT_EQ(c.accepted, verifyVersion(c.required, c.minimum, c.maximum, c.version))
            << "V=" << c.version << " R=" << c.required << " MIN=" << c.minimum
            << " MAX=" << c.maximum;
        EXPECT_EQ(c.accepted, versionVerdict(c.required, c.minimum, c.maximum, c.version) ==
                                  nullptr) << c.version;
    }
    EXPECT_STREQ("older than jvmMinVersion", versionVerdict("", "11", "17", "1.6.0_20"));
    EXPECT_STREQ("newer than jvmMaxVersion", versionVerdict("", "11", "17", "21.0.1"));
    EXPECT_STREQ("newer than jvmMaxVersion", versionVerdict("", "", "1.7", "1.8"));
    EXPECT_STREQ("not the required version", versionVerdict("17", "11", "", "11.0.2"));
}

// Oldest first; neighbours in one group are equal.
const std::vector<std::vector<const char*>> versionOrder = {
    {""},
    {"0"},
    {"0.9"},
    {"1", "01"},
    {"1.", "1-"},  // an empty component sorts before any other
    {"1.3"},
    {"1.3.1"},
    {"1.4", "1_4", "1-4", "1+4", "1.04"},
    {"1.4.2"},
    {"1.4.2_05", "1.4.2.5"},
    {"1.4.2_05-b04"},
    {"1.4.10"},
    {"1.8.0_392"},
    {"1.10.0"},
    {"1.x", "1.X"},
    {"9.0.4"},
    {"11"},
    {"17", "017"},
    {"17.0.2"},
    {"17.0.9+9"},
    {"170"},
    {"99999999999999999999999999"},
    {"100000000000000000000000000"},
    {"ea"},
    {"JDK1.4", "jdk1.4"},
};

TEST(VersionRules, CompareVersionsIsATotalOrder)
{
    for (size_t i = 0; i < versionOrder.size(); ++i) {
        for (size_t j = 0; j < versionOrder.size(); ++j) {
            for (const char* a : versionOrder[i]) {
                for (const char* b : versionOrder[j]) {
                    const int order = compareVersions(a, b);
                    EXPECT_EQ(i < j ? -1 : (i > j ? 1 : 0), (order > 0) - (order < 0))
                        << "[" << a << "] against [" << b << "]";
                }
            }
        }
    }
    EXPECT_LT(compareVersions("1.5.0-beta_2", "1.5.0-beta2"), 0);
    EXPECT_GT(compareVersions("1.5.0-beta", "1.5.0-alpha"), 0);
}

TEST(VersionRules, ExtractVersionTakesFirstToLastDigit)
{
    const std::pair<const char*, const char*> cases[] = {
        {"java.version=1.4.2_05\n", "1.4.2_05"},
        {"\"1.6.0_07\"\n", "1.6.0_07"},
        {"1.5.0-beta2", "1.5.0-beta2"},
        {"version 17", "17"},
        {"7", "7"},
        // A 0 at either end counts as a digit.
        {"java version \"1.6.0\"\n", "1.6.0"},
        {"10\n", "10"},
        {"0.9 beta", "0.9"},
        {"build 1.7.0_10.", "1.7.0_10"},
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
    EXPECT_FALSE(parseVersion("1.44.2_05", family, sizeof family, micro, sizeof micro));
    EXPECT_STREQ("1.4", family);
    EXPECT_STREQ("2", micro);
    // Fewer than two dots: the whole version is the family, and a cut is still reported.
    EXPECT_FALSE(parseVersion("1.44", family, sizeof family, micro, sizeof micro));
    EXPECT_STREQ("1.4", family);
    EXPECT_STREQ("0", micro);
    EXPECT_FALSE(parseVersion("1744", family, sizeof family, micro, sizeof micro));
    EXPECT_TRUE(parseVersion("1.4", family, sizeof family, micro, sizeof micro));
    EXPECT_FALSE(parseVersion("1.4", family, sizeof family, micro, 1));
    EXPECT_TRUE(parseVersion(nullptr, family, sizeof family, micro, sizeof micro));
    EXPECT_STREQ("", family);
    EXPECT_STREQ("0", micro);
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
        // Only the program's own directory named "bin" is cut; a "bin" further up stays.
        {"C:\\apps\\bin\\jre\\java.exe", "C:\\apps\\bin\\jre"},
        {"C:\\tools\\bin\\jvm\\jre1.3\\bin\\java.exe", "C:\\tools\\bin\\jvm\\jre1.3"},
        {"C:\\bin\\bin\\java.exe", "C:\\bin"},
        {"C:\\jre\\xbin\\java.exe", "C:\\jre\\xbin"},
        {"bin\\java.exe", "bin"},
        {"\\java.exe", ""},
    };
    for (const auto& c : cases) {
        char home[5001];
        getJavaHomeDirectory(c[0], home, sizeof home);
        EXPECT_STREQ(c[1], home) << c[0];
    }
    for (const auto& c : {std::make_pair("C:\\jre\\bin\\", "C:\\jre"),
                          std::make_pair("C:\\jre\\bix", "C:\\jre\\bix")}) {
        char dir[20];
        std::snprintf(dir, sizeof dir, "%s", c.first);
        cutAtBinComponent(dir);
        EXPECT_STREQ(c.second, dir) << c.first;
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
    char similar[20] = "jrx.exe";
    EXPECT_FALSE(javaFormOfName(similar, sizeof similar, false));
    EXPECT_STREQ("jrx.exe", similar);
}

TEST(VersionRules, ComparableVersionSettings)
{
    for (const char* setting : {"11", "1.8.0_392", "17-ea", "21+35", "1.4.2_05", "1.8.0_b12"})
        EXPECT_TRUE(isComparableVersion(setting)) << setting;
    for (const char* setting : {"", "1.8+", "1..4", ".8", "jdk1.4", "11 ", " 11", "1.8.*", "9A.1"})
        EXPECT_FALSE(isComparableVersion(setting)) << setting;
}

} // namespace
