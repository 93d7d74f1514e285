#include <gtest/gtest.h>

#include "install/CleanupRules.h"

TEST(CleanupRules, ManifestNameLines)
{
    std::string name;
    EXPECT_TRUE(manifestName("Name: lib/x.jar   \r\n", name));
    EXPECT_EQ("lib/x.jar", name);
    EXPECT_FALSE(manifestName(" Name: x", name));
    EXPECT_FALSE(manifestName("name: x", name));
    EXPECT_FALSE(manifestName("Name: \r\n", name));
    EXPECT_FALSE(manifestName("Manifest-Version: 1.0", name));
}

TEST(CleanupRules, PropertiesLinesAndStartDir)
{
    EXPECT_EQ("nativeJvmHomeDir=C:\\pkg\\jvm", normalisePropertiesLine("nativeJvmHomeDir=C:/pkg/jvm\n"));
    EXPECT_EQ("nativeTempJvmDir=C:\\a\\b", normalisePropertiesLine("nativeTempJvmDir=C\\:/a\\/b"));
    std::string value;
    EXPECT_TRUE(propertyValue("nativeJvmInstalledInTemp=true", "nativeJvmInstalledInTemp", value));
    EXPECT_EQ("true", value);
    EXPECT_TRUE(propertyValue("nativeJvmHomeDir=", "nativeJvmHomeDir", value));
    EXPECT_EQ("", value);
    value = "poison";
    EXPECT_TRUE(propertyValue("nativeJvmHomeDir", "nativeJvmHomeDir", value));  // only the key
    EXPECT_EQ("", value);
    EXPECT_FALSE(propertyValue("configure", "configureWinRegistry", value));
    EXPECT_EQ("C:\\start", startDirFromLine("C:\\start  \r\n"));
    EXPECT_EQ(" ", startDirFromLine(" \n"));
    EXPECT_EQ("C:\\a", startDirFromLine("C:\\a\nC:\\b"));  // the first line only
    EXPECT_EQ("\r", startDirFromLine("\r\n"));            // a lone CR stays
    EXPECT_EQ(std::string(4999, 'a'), startDirFromLine(std::string(6000, 'a')));
}

TEST(CleanupRules, ContainmentIsByWholeComponentAndIgnoresCase)
{
    EXPECT_TRUE(isStrictlyInside("C:\\pkg\\jvm", "C:\\pkg"));
    EXPECT_TRUE(isStrictlyInside("c:\\PKG\\jvm\\bin", "C:\\pkg\\"));
    EXPECT_FALSE(isStrictlyInside("C:\\pkg", "C:\\pkg"));
    EXPECT_FALSE(isStrictlyInside("C:\\pkg\\", "C:\\pkg"));
    EXPECT_FALSE(isStrictlyInside("C:\\pkg2\\x", "C:\\pkg"));
    EXPECT_FALSE(isStrictlyInside("D:\\pkg\\x", "C:\\pkg"));
    EXPECT_FALSE(isStrictlyInside("", "C:\\pkg"));
    EXPECT_FALSE(isStrictlyInside("C:\\x", ""));
}
