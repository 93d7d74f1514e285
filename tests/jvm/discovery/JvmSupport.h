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
    ASSERT_TRUE(CopyFileA(qrvtest::builtProgram("fakejvm.exe").c_str(),
                          (dir + "\\" + program).c_str(), FALSE));
    qrvtest::writeFile(dir + "\\fakejvm.ini",
                       "version=" + version + "\ntestrun=" + testRun + "\nwizard=create\n");
}

using qrvtest::jvmStarts;

inline void copyTestClass()
{
    ASSERT_TRUE(CopyFileA(qrvtest::builtProgram("TestJvm.class").c_str(), "TestJvm.class", FALSE));
}

} // namespace jvmtest
