#include "check/ClassFileRules.h"

#include <gtest/gtest.h>

#include <string>

using namespace class_file;

TEST(ClassFileRules, MajorVersionAndTheJavaReleasesOfVersionsAndClassFiles)
{
    struct ClassRow {
        std::string bytes;
        bool isClass;
        unsigned major;
    };
    const ClassRow classRows[] = {
        {std::string("\xCA\xFE\xBA\xBE\x00\x03\x00\x2D", 8), true, 45},
        {std::string("\xCA\xFE\xBA\xBE\x00\x00\x00\x3D rest", 13), true, 61},
        {std::string("\xCA\xFE\xBA\xBE\x00\x00\x01\x41", 8), true, 321},  // both bytes count
        {std::string("\xCA\xFE\xBA\xBE\x00\x00\x00", 7), false, 0},
        {std::string("PK\x03\x04\x00\x00\x00\x3D", 8), false, 0},
    };
    for (const ClassRow& row : classRows) {
        unsigned major = 0;
        const auto* bytes = reinterpret_cast<const unsigned char*>(row.bytes.data());
        EXPECT_EQ(row.isClass, majorVersion(bytes, row.bytes.size(), major));
        EXPECT_EQ(row.major, major);
    }
    EXPECT_EQ(1u, javaOfMajor(45));
    EXPECT_EQ(17u, javaOfMajor(61));
    EXPECT_EQ(0u, javaOfMajor(44));

    const std::pair<const char*, unsigned> versionRows[] = {
        {"1.4", 4}, {"1.8.0_392", 8}, {"1.1", 1}, {"1.0", 1}, {"1", 1}, {"11", 11},
        {"17.0.9", 17}, {"21-ea", 21}, {"", 0}, {"jdk1.4", 0},
        {"99999999999", MaxRelease},
    };
    for (const auto& row : versionRows)
        EXPECT_EQ(row.second, javaOfVersion(row.first)) << row.first;
}
