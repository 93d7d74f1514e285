#include <algorithm>
#include <string>

#include "jvm/provision/ExtractJvm.h"
#include "support/LogCheck.h"
#include "support/TestSupport.h"

using namespace qrvtest;

namespace {

const char* const JreEntry = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char* const JdkEntry = "SOFTWARE\\JavaSoft\\Java Development Kit";

class Registration : public InTempDirWithRegistry {
protected:
    void SetUp() override { createTraceLog(); }

    std::string value(const std::string& key, const char* name)
    {
        std::string text;
        return getRegString(HKEY_LOCAL_MACHINE, key, name, text) ? text : "<missing>";
    }
    // What the configuration of a Java 2 runtime does: the family key and the full version key.
    void registerJava2(const char* family, const char* full, const char* micro, const char* home)
    {
        EXPECT_TRUE(jvm.addJvmToRegistry(JreEntry, "JavaHome", family, micro, home, "java.exe"));
        EXPECT_TRUE(jvm.addJvmToRegistry(JreEntry, "JavaHome", full, micro, home, "java.exe"));
    }

    ExtractJvm jvm;
};

TEST_F(Registration, CleanRegistryGetsBothVersionKeysOfAJava2Runtime)
{
    const char* home = "c:\\program files\\javasoft\\jre1.3\\1.3.1";
    registerJava2("1.3", "1.3.1", "1", home);
    EXPECT_EQ("1.3", value(JreEntry, "CurrentVersion"));
    for (const char* version : {"1.3", "1.3.1"}) {
        SCOPED_TRACE(version);
        const std::string key = std::string(JreEntry) + "\\" + version;
        EXPECT_EQ(home, value(key, "JavaHome"));
        EXPECT_EQ("1", value(key, "MicroVersion"));
    }
    EXPECT_FALSE(keyExists("SOFTWARE\\JavaSoft\\Java Plug-in"));
    EXPECT_FALSE(keyExists(JdkEntry));
    EXPECT_TRUE(traced(std::string("Added registry value to JavaHome: ") + home));
    EXPECT_TRUE(traced("Added registry value to MicroVersion: 1"));
}

TEST_F(Registration, ExistingCurrentVersionIsKept)
{
    setRegString(HKEY_LOCAL_MACHINE, JreEntry, "CurrentVersion", "1.4");
    registerJava2("1.3", "1.3.1", "1", "c:\\jvm");
    EXPECT_EQ("1.4", value(JreEntry, "CurrentVersion"));
    EXPECT_EQ("c:\\jvm", value(std::string(JreEntry) + "\\1.3.1", "JavaHome"));
    EXPECT_EQ("1", value(std::string(JreEntry) + "\\1.3.1", "MicroVersion"));
}

TEST_F(Registration, EmptyCurrentVersionIsFilledIn)
{
    setRegString(HKEY_LOCAL_MACHINE, JreEntry, "CurrentVersion", "");
    jvm.addJvmTopLevelKey(JreEntry, "1.5.0");
    EXPECT_EQ("1.5", value(JreEntry, "CurrentVersion"));
}

TEST_F(Registration, JavaHomeIsKeptAndMicroVersionAdded)
{
    const std::string key = std::string(JreEntry) + "\\1.3";
    setRegString(HKEY_LOCAL_MACHINE, key, "JavaHome", "d:\\other");
    EXPECT_TRUE(jvm.addJvmToRegistry(JreEntry, "JavaHome", "1.3", "1", "c:\\new", "java.exe"));
    EXPECT_EQ("d:\\other", value(key, "JavaHome"));
    EXPECT_EQ("1", value(key, "MicroVersion"));
    EXPECT_TRUE(traced("JavaHome already exists in registry"));
    EXPECT_TRUE(traced("value d:\\other"));
}

TEST_F(Registration, RegisteredVersionIsLeftAlone)
{
    const std::string key = std::string(JreEntry) + "\\1.3";
    setRegString(HKEY_LOCAL_MACHINE, key, "MicroVersion", "0");
    EXPECT_TRUE(jvm.addJvmToRegistry(JreEntry, "JavaHome", "1.3", "1", "c:\\new", "java.exe"));
    EXPECT_EQ("<missing>", value(key, "JavaHome"));
    EXPECT_EQ("0", value(key, "MicroVersion"));
}

TEST_F(Registration, JdkRegistersOnlyUnderItsOwnKey)
{
    EXPECT_TRUE(jvm.addJvmToRegistry(JdkEntry, "JavaHome", "1.4", "2", "c:\\jdk", "java.exe"));
    EXPECT_EQ("1.4", value(JdkEntry, "CurrentVersion"));
    EXPECT_EQ("2", value(std::string(JdkEntry) + "\\1.4", "MicroVersion"));
    EXPECT_EQ("c:\\jdk", value(std::string(JdkEntry) + "\\1.4", "JavaHome"));
    EXPECT_FALSE(keyExists(JreEntry));
}

TEST_F(Registration, OneDotVersionRegistersFamilyAndDotZero)
{
    registerJava2("1.3", "1.3.0", "0", "c:\\jvm");
    EXPECT_EQ("1.3", value(JreEntry, "CurrentVersion"));
    EXPECT_EQ("0", value(std::string(JreEntry) + "\\1.3", "MicroVersion"));
    EXPECT_EQ("0", value(std::string(JreEntry) + "\\1.3.0", "MicroVersion"));
}

// Guards against writing over a value that is there but is not a short string: a value of
// another type or one longer than the read buffer must still count as present.
TEST_F(Registration, ValuesOfOtherTypesOrGreatLengthAreNeverOverwritten)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, JreEntry, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    const DWORD number = 7;
    RegSetValueExA(key, "CurrentVersion", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    const std::string longText(6000, 'x');
    RegSetValueExA(key, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longText.c_str()),
                   static_cast<DWORD>(longText.size() + 1));
    EXPECT_TRUE(jvm.addValueToRegistry(key, "Long", "short"));
    RegCloseKey(key);

    jvm.addJvmTopLevelKey(JreEntry, "1.3.1");
    EXPECT_EQ("<missing>", value(JreEntry, "CurrentVersion"));  // still the number
    EXPECT_EQ(longText, value(JreEntry, "Long"));
}

TEST_F(Registration, RegistryThatRefusesKeysGivesFalseAndTheTraces)
{
    // Below a volatile key no lasting key can be made: the creation of the product key fails
    // as it does for a user without rights to HKEY_LOCAL_MACHINE.
    HKEY software = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\JavaSoft", 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                             &software, nullptr));
    RegCloseKey(software);
    EXPECT_FALSE(jvm.addJvmToRegistry(JreEntry, "JavaHome", "1.3", "1", "c:\\jvm", "java.exe"));
    EXPECT_FALSE(keyExists(JreEntry));
    EXPECT_TRUE(traced(std::string("Unable to create registry key ") + JreEntry));
    EXPECT_TRUE(traced(std::string("unable to add registry key ") + JreEntry + "\\1.3"));
    EXPECT_TRUE(traced("unable to addJvmToRegistry"));
}

TEST_F(Registration, AddToRegistryOpensAnExistingKeyForWriting)
{
    setRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Existing", "a", "b");
    RegKey key;
    ASSERT_TRUE(jvm.addToRegistry(HKEY_LOCAL_MACHINE, "SOFTWARE\\Existing", key));
    EXPECT_TRUE(jvm.addValueToRegistry(key.get(), "c", "d"));
    key.close();
    EXPECT_EQ("b", value("SOFTWARE\\Existing", "a"));
    EXPECT_EQ("d", value("SOFTWARE\\Existing", "c"));
}

class RegistrySwitch : public InTempDir {};

TEST_F(RegistrySwitch, ReadsTheControlFileThenTheProperties)
{
    struct Row {
        const char* control;     // null: no control file
        const char* properties;  // null: no properties file
        bool expected;
    };
    const Row rows[] = {
        {"jvmName=JRE\nconfigureWinRegistry=Yes\n", nullptr, true},
        {"configureWinRegistry=no\nconfigureWinRegistry=yes\n", nullptr, false},
        {"configureWinRegistry=\n", nullptr, false},
        {"jvmName=JRE\n", nullptr, true},
        {nullptr, nullptr, true},
        {nullptr, "configureWinRegistry=false\n", false},
        {"jvmName=JRE\n", "configureWinRegistry=false\n", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.control ? row.control : "-") + "|" +
                     (row.properties ? row.properties : "-"));
        DeleteFileA("qrv.control");
        DeleteFileA("native.properties");
        if (row.control)
            writeFile("qrv.control", row.control);
        if (row.properties)
            writeFile("native.properties", row.properties);
        ExtractJvm jvm;
        EXPECT_EQ(row.expected, jvm.configureWinReg());
    }
}

TEST_F(RegistrySwitch, AnOverlongLineIsReadInPiecesLikeTheControlFileReaderDoes)
{
    // Every reader of the switch shares one rule: the piece after 998 characters counts as a
    // line of its own.
    writeFile("qrv.control",
              "x" + std::string(997, 'y') + "configureWinRegistry=no\nconfigureWinRegistry=yes\n");
    ExtractJvm jvm;
    EXPECT_FALSE(jvm.configureWinReg());
}

} // namespace
