#include "jvm/discovery/JvmSourceRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace source_rules;

namespace {

TEST(JvmSourceRules, VersionOfKeyName)
{
    const struct {
        const char* name;
        const char* version;
    } rows[] = {
        {"17.0.9.9", "17.0.9"},       // Temurin: version and build
        {"21.0.1.12", "21.0.1"},
        {"17.0.13.11", "17.0.13"},    // Microsoft
        {"8.0.392.8", "1.8.0_392"},   // Java 8 in the old form
        {"8.0.382.5", "1.8.0_382"},   // Semeru
        {"8.0.392", "1.8.0_392"},
        {"8.0", "1.8.0"},
        {"8", "1.8"},
        {"17.0.9", "17.0.9"},         // SapMachine, JavaSoft\JDK
        {"18", "18"},
        {"9.0.4", "9.0.4"},
        {"11.0.16.8", "11.0.16"},
        {"zulu-17", "17"},
        {"zulu-8", "1.8"},
        {"zulu-8-jre", "1.8"},
        {"jdk-8", "1.8"},
        {"jre-11", "11"},
        {"1.8.0_391", "1.8.0_391"},   // already the old form
        {"8.0_1", "8.0_1"},           {"1.8.0.1_2", "1.8.0.1_2"}, // an update number: as it is
        {"2", "1.2"},                 {"2.1", "1.2.1"},
        {"1.8", "1.8"},
        {"17.0.9+9", "17.0.9"},
        {"17.", "17"},
        {"100.2.3.4.5", "100.2.3"},
        {"08", "1.08"},
        {"008", "008"},
        {"zulu", ""},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.version, versionOfKeyName(row.name)) << row.name;
}

TEST(JvmSourceRules, ReleaseLineVersion)
{
    const struct {
        const char* line;
        bool found;
        const char* version;
    } rows[] = {
        {"JAVA_VERSION=\"17.0.9\"\n", true, "17.0.9"},
        {"JAVA_VERSION=\"1.8.0_392\"\r\n", true, "1.8.0_392"},
        {"  JAVA_VERSION = 11.0.2 ", true, "11.0.2"},
        {"JAVA_VERSION=\"\"", false, ""},
        {"JAVA_VERSION=", false, ""},
        {"JAVA_VERSION", false, ""},
        {"JAVA_VERSION_DATE=\"2023-10-17\"", false, ""},
        {"IMPLEMENTOR=\"Someone\"", false, ""},
        {"java_version=\"17\"", false, ""},
        {"", false, ""},
        {"JAVA_VERSION=\"", true, "\""},  // a lone quote is no pair: taken as it is
    };
    for (const auto& row : rows) {
        std::string version = "untouched";
        EXPECT_EQ(row.found, releaseLineVersion(row.line, version)) << row.line;
        EXPECT_EQ(row.found ? std::string(row.version) : "untouched", version) << row.line;
    }
}

TEST(JvmSourceRules, VersionOutputVersion)
{
    const struct {
        const char* text;
        const char* version;  // "" for none
    } rows[] = {
        {"java version \"1.6.0_20\"\r\nJava(TM) SE Runtime Environment", "1.6.0_20"},
        {"Picked up _JAVA_OPTIONS: -Xmx1g\nopenjdk version \"17.0.2\" 2022-01-18\n", "17.0.2"},
        {"java version \"\"", ""},
        {"java version \"17.0.2\nrest\"", ""},
        {"java version 17", ""},
        {"Error: could not open `C:\\jre\\lib\\amd64\\jvm.cfg'", ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        std::string version;
        EXPECT_EQ(*row.version != '\0', versionOutputVersion(row.text, version)) << row.text;
        EXPECT_EQ(row.version, version) << row.text;
    }
}

TEST(JvmSourceRules, PeArchitectureFromTheMachineField)
{
    const struct {
        size_t size;
        size_t headerAt;     // the offset written at 0x3C
        unsigned machine;
        const char* dosMark;
        const char* peMark;
        const char* architecture;
    } rows[] = {
        {512, 0x80, 0x8664, "MZ", "PE", "x64"},      {512, 0x80, 0x014C, "MZ", "PE", "x86"},
        {512, 0x80, 0xAA64, "MZ", "PE", "arm64"},    {512, 0x80, 0x0200, "MZ", "PE", ""},
        {512, 0x80, 0x8664, "ZM", "PE", ""},         {512, 0x80, 0x8664, "MZ", "NE", ""},
        {0x86, 0x80, 0x8664, "MZ", "PE", "x64"},     {0x85, 0x80, 0x8664, "MZ", "PE", ""},
        {512, 0x1FC, 0x8664, "MZ", "PE", ""},        {512, 0x7FFFFFF0, 0, "MZ", "", ""},
        {0x3F, 0x00, 0, "MZ", "", ""},               {0x10010, 0x10000, 0x8664, "MZ", "PE", "x64"},
    };
    for (const auto& row : rows) {
        std::vector<unsigned char> bytes(row.size + 8, 0);
        std::memcpy(bytes.data(), row.dosMark, 2);
        for (int i = 0; i < 4 && row.size >= 0x40; ++i)
            bytes[0x3C + i] = static_cast<unsigned char>(row.headerAt >> (8 * i));
        if (*row.peMark != '\0' && row.headerAt + 6 <= bytes.size()) {
            std::memcpy(&bytes[row.headerAt], row.peMark, 2);
            bytes[row.headerAt + 4] = static_cast<unsigned char>(row.machine);
            bytes[row.headerAt + 5] = static_cast<unsigned char>(row.machine >> 8);
        }
        EXPECT_EQ(row.architecture, peArchitecture(bytes.data(), row.size)) << row.headerAt;
    }
    EXPECT_EQ("", peArchitecture(nullptr, 0));
}

TEST(JvmSourceRules, CleanHome)
{
    const struct {
        const char* raw;
        const char* home;
    } rows[] = {
        {"C:\\Program Files\\Eclipse Adoptium\\jdk-17.0.9.9-hotspot\\",
         "C:\\Program Files\\Eclipse Adoptium\\jdk-17.0.9.9-hotspot"},
        {"\"C:\\Java\\jdk 17\\\"", "C:\\Java\\jdk 17"},
        {"\"C:\\Java\\jdk 17\"", "C:\\Java\\jdk 17"},
        {"  C:\\Java\\\\  ", "C:\\Java"},
        {"C:\\", "C:\\"},
        {"\"C:\\\"", "C:\\"},
        {"\\", "\\"},
        {"\"", ""},
        {"\"\"", ""},
        {"", ""},
        {"D:/jdk/", "D:/jdk"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.home, cleanHome(row.raw)) << row.raw;
}

TEST(JvmSourceRules, SearchPathDirs)
{
    const std::vector<std::string> expected = {"C:\\a", "C:\\b c", "D:\\bin"};
    EXPECT_EQ(expected, searchPathDirs(";C:\\a\\;;\"C:\\b c\";  ;D:\\bin"));
    EXPECT_TRUE(searchPathDirs("").empty());
    EXPECT_TRUE(searchPathDirs(";;").empty());
}

TEST(JvmSourceRules, SkippedPathDirs)
{
    const struct {
        const char* dir;
        const char* windows;
        bool skipped;
    } rows[] = {
        {"C:\\ProgramData\\Oracle\\Java\\javapath", "C:\\windows", true},
        {"C:\\Program Files\\Common Files\\Oracle\\Java\\javapath\\", "C:\\windows", true},
        {"\"c:\\programdata\\oracle\\java\\JAVAPATH\"", "", true},
        {"C:\\javapath_target_1234", "C:\\windows", false},
        {"C:\\WINDOWS\\system32", "C:\\windows", true},
        {"C:\\Windows", "C:\\windows\\", true},
        {"C:\\Windows\\", "C:\\windows", true},
        {"C:\\Windows\\System32\\Wbem", "C:\\windows", true},
        {"C:\\Windows\\SysWOW64", "C:\\Windows", true},
        {"C:\\WindowsApps", "C:\\windows", false},  // a sibling, not below
        {"C:\\jdk\\bin", "C:\\windows", false},
        {"C:\\jdk\\bin", "", false},
        {"", "C:\\windows", false},
        {"", "\\", false},
        {"\\\\server\\jdk\\bin", "", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.skipped, isSkippedPathDir(row.dir, row.windows)) << row.dir;
}

TEST(JvmSourceRules, OrderForTrial)
{
    std::vector<std::string> names = {"zulu-8", "zulu-17", "zulu-8-jre", "zulu-11", "zulu-17-jre"};
    orderForTrial(names, true);
    EXPECT_EQ((std::vector<std::string>{"zulu-17-jre", "zulu-8-jre", "zulu-17", "zulu-11",
                                        "zulu-8"}),
              names);

    std::vector<std::string> versions = {"9.0.4", "17", "17.0.2", "11.0.21", "1.8.0_392"};
    orderForTrial(versions, false);
    EXPECT_EQ((std::vector<std::string>{"17.0.2", "17", "11.0.21", "9.0.4", "1.8.0_392"}),
              versions);
}

} // namespace
