#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // The machine the tests model has no JVM of its own: the host's JAVA_HOME and JDK_HOME reach
    // Windows programs under Wine as they are and must not be taken for one. Tests that want
    // them set them.
    static char noJavaHome[] = "JAVA_HOME=";
    static char noJdkHome[] = "JDK_HOME=";
    _putenv(noJavaHome);
    _putenv(noJdkHome);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
