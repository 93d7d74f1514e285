// Fake JVM homes for the discovery tests: the stand-in JVM copied under a program name.
#pragma once

#include "support/Package.h"

#include <windows.h>

#include <string>
#include <vector>

namespace jvmtest {

// Puts the stand-in JVM at `dir`\`program` with its settings file beside it.
inline void installFakeJvm(const std::string& dir, const std::string& program,
                           const std::string& version, const std::string& testRun = "good")
{
    CreateDirectoryA(dir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(qrvtest::standinJvmProgram(program).c_str(),
                          (dir + "\\" + program).c_str(), FALSE));
    qrvtest::writeFile(dir + "\\fakejvm.ini",
                       "version=" + version + "\ntestrun=" + testRun + "\nwizard=create\n");
}

using qrvtest::jvmStarts;

// Marks the program at `path` as built for 32-bit x86 (the machine field of its PE header); it
// no longer starts here, so a test sees that it was never run.
inline void markAs32Bit(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "r+b");
    ASSERT_NE(nullptr, file);
    unsigned char offset[4] = {};
    std::fseek(file, 0x3C, SEEK_SET);
    ASSERT_EQ(4u, std::fread(offset, 1, 4, file));
    std::fseek(file, (offset[0] | offset[1] << 8) + 4, SEEK_SET);
    std::fputc(0x4C, file);
    std::fputc(0x01, file);
    std::fclose(file);
}


inline void copyTestClass()
{
    ASSERT_TRUE(CopyFileA(qrvtest::builtProgram("TestJvm.class").c_str(), "TestJvm.class", FALSE));
}

} // namespace jvmtest
