#include <algorithm>
#include <string>
#include <vector>

#include "security/Security.h"
#include "support/LogCheck.h"
#include "support/TestSupport.h"
#include "util/clib.h"

using namespace qrvtest;

namespace {

const char* const WinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

class SecurityFiles : public InTempDirWithRegistry {
protected:
    void SetUp() override
    {
        createTraceLog();
        jvmHome = dir / "jre";
        home = dir / "home";
        CreateDirectoryA(jvmHome.c_str(), nullptr);
        CreateDirectoryA(home.c_str(), nullptr);
    }
    void writeJavaSecurity(const std::string& content)
    {
        CreateDirectoryA((jvmHome + "\\lib").c_str(), nullptr);
        CreateDirectoryA((jvmHome + "\\lib\\security").c_str(), nullptr);
        writeFile(jvmHome + "\\lib\\security\\java.security", content);
    }

    std::string jvmHome;
    std::string home;
    Security security;
};

TEST_F(SecurityFiles, ResolvesTheThreeValueForms)
{
    writeFile("java.policy", "p");
    struct Row {
        std::string value;
        bool ok;
        std::string destination;
    };
    const Row rows[] = {
        {"${java.home}/lib/security/java.policy", true, jvmHome + "\\lib\\security\\java.policy"},
        {"${java.home}/java.policy", true, jvmHome + "\\java.policy"},
        {"${user.home}/java.policy", true, home + "\\java.policy"},
        {"${user.home}missing.policy", true, home + "\\missing.policy"},
        {"${user.home}/missing.policy", false, ""},
        {"conf//sub/java.policy", true, "conf\\sub\\java.policy"},
        {"java.policy", false, ""},
        {"${java.home}java.policy", false, ""},
        {"${java.home}/lib/", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        char fileName[PathCapacity];
        char destination[PathCapacity];
        EXPECT_EQ(row.ok, security.getFilenames(row.value.c_str(), jvmHome.c_str(), home.c_str(),
                                                fileName, destination));
        EXPECT_EQ(row.destination, destination);
    }
    EXPECT_TRUE(isDir((jvmHome + "\\lib\\security").c_str()));
    EXPECT_TRUE(isDir("conf\\sub"));
}

TEST_F(SecurityFiles, UserPolicyIsCopiedKeptOrBackedUp)
{
    writeFile(".java.policy", "new");
    const std::string target = home + "\\.java.policy";

    EXPECT_TRUE(security.addSecurity("", "${user.home}/.java.policy", "", jvmHome.c_str(),
                                     home.c_str(), false));
    EXPECT_EQ("new", readFile(target));

    writeFile(target, "old");
    EXPECT_TRUE(security.addSecurity("", "${user.home}/.java.policy", "", jvmHome.c_str(),
                                     home.c_str(), false));
    EXPECT_EQ("old", readFile(target));
    EXPECT_FALSE(exists("changes.txt"));

    EXPECT_TRUE(security.addSecurity("", "${user.home}/.java.policy", "", jvmHome.c_str(),
                                     home.c_str(), true));
    EXPECT_EQ("new", readFile(target));
    EXPECT_EQ("old", readFile(home + "\\.java.001"));
    EXPECT_EQ(std::vector<std::string>{"Renamed to " + target + " identitydb.001"},
              readLines("changes.txt"));
}

TEST_F(SecurityFiles, BackupLineInSpanish)
{
    writeFile("x.policy", "old");
    security.setLanguage("spanish");
    ASSERT_TRUE(security.backupFile((dir / "x.policy").c_str()));
    EXPECT_FALSE(exists("x.policy"));
    EXPECT_EQ("old", readFile("x.001"));
    EXPECT_EQ(std::vector<std::string>{"Reagrupado  a " + (dir / "x.policy") + " identitydb.001"},
              readLines("changes.txt"));
}

TEST_F(SecurityFiles, FailedBackupKeepsTheFileAndLogsNothing)
{
    EXPECT_FALSE(security.backupFile((dir / "missing.policy").c_str()));
    EXPECT_FALSE(exists("changes.txt"));
}

// Guards the system policy step: a value in one of the variable forms is placed when the
// package carries the file, rather than being tested as a file name of its own.
TEST_F(SecurityFiles, SystemPolicyWithAVariableIsPlaced)
{
    writeFile("java.policy", "p");
    EXPECT_TRUE(security.addSecurity("${java.home}/lib/security/java.policy", "", "",
                                     jvmHome.c_str(), home.c_str(), false));
    EXPECT_EQ("p", readFile(jvmHome + "\\lib\\security\\java.policy"));
}

TEST_F(SecurityFiles, SystemPolicyMissingFromThePackageDoesNothing)
{
    EXPECT_TRUE(security.addSecurity("${user.home}java.policy", "", "", jvmHome.c_str(),
                                     home.c_str(), false));
    EXPECT_FALSE(exists(home + "\\java.policy"));
}

TEST_F(SecurityFiles, ValueWithoutSlashOrVariableDoesNothing)
{
    writeFile("java.policy", "p");
    EXPECT_TRUE(security.addSecurity("", "java.policy", "", jvmHome.c_str(), home.c_str(), false));
    EXPECT_FALSE(security.addSecurity("", "", "java.policy", jvmHome.c_str(), home.c_str(), false));
    EXPECT_FALSE(exists(jvmHome + "\\java.policy"));
    EXPECT_FALSE(exists(home + "\\java.policy"));
}

TEST_F(SecurityFiles, KeystoreGoesWhereJavaSecurityNamesIt)
{
    writeFile("identitydb.obj", "db");
    const std::string named = dir / "keys\\identitydb.obj";
    std::string where = dir.path();
    std::replace(where.begin(), where.end(), '\\', '/');
    writeJavaSecurity("policy.provider=x\nidentity.database=" + where + "//keys\\\\identitydb.obj\n");
    setRegString(HKEY_LOCAL_MACHINE, WinlogonKey, "UserName", "anna");
    EXPECT_TRUE(security.addSecurity("", "", "${user.home}/identitydb.obj", jvmHome.c_str(),
                                     home.c_str(), false));
    EXPECT_EQ("db", readFile(named));
    EXPECT_FALSE(exists(home + "\\identitydb.obj"));
    EXPECT_FALSE(exists(home + "\\profiles"));
}

TEST_F(SecurityFiles, KeystoreGoesHomeAndIntoTheUsersProfile)
{
    writeFile("identitydb.obj", "db");
    writeJavaSecurity("policy.provider=x\n");
    setRegString(HKEY_LOCAL_MACHINE, WinlogonKey, "UserName", "");
    setRegString(HKEY_LOCAL_MACHINE, WinlogonKey, "DefaultUserName", "bert");
    EXPECT_TRUE(security.addSecurity("", "", "${user.home}/identitydb.obj", jvmHome.c_str(),
                                     home.c_str(), false));
    EXPECT_EQ("db", readFile(home + "\\identitydb.obj"));
    EXPECT_EQ("db", readFile(home + "\\profiles\\bert\\identitydb.obj"));
}

TEST_F(SecurityFiles, KeystoreWithoutLoginName)
{
    writeFile("identitydb.obj", "db");
    EXPECT_FALSE(security.addSecurity("", "", "${user.home}/identitydb.obj", jvmHome.c_str(),
                                      home.c_str(), false));
    EXPECT_EQ("db", readFile(home + "\\identitydb.obj"));
    EXPECT_TRUE(traced("unable to find login name in registry"));
}

TEST_F(SecurityFiles, KeystoreUnderTheJvmHomeGoesThereOnly)
{
    writeFile("identitydb.obj", "db");
    EXPECT_TRUE(security.addSecurity("", "", "${java.home}/lib/security/identitydb.obj",
                                     jvmHome.c_str(), home.c_str(), false));
    EXPECT_EQ("db", readFile(jvmHome + "\\lib\\security\\identitydb.obj"));
}

TEST_F(SecurityFiles, DirectoryThatCannotBeMadeIsTraced)
{
    writeFile("blocker", "");
    char list[PathCapacity] = "sub/dir";
    EXPECT_FALSE(security.addDirectories((dir / "blocker").c_str(), list));
    EXPECT_TRUE(traced("unable to create security directory " + (dir / "blocker\\sub\\dir")));
}

} // namespace
