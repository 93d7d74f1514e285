#include <string>

#include <gtest/gtest.h>

#include "security/SecurityRules.h"
#include "util/AsciiCase.h"

namespace {

TEST(SecurityRules, BackupNames)
{
    struct Row {
        const char* path;
        const char* backup;
    };
    const Row rows[] = {
        {"C:\\jre\\lib\\security\\java.policy", "C:\\jre\\lib\\security\\java.001"},
        {"C:\\home\\.java.policy", "C:\\home\\.java.001"},
        {"C:\\dir.d\\identitydb", "C:\\dir.d\\identitydb.001"},
        {"java.policy", "java.policy.001"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        char out[100];
        EXPECT_TRUE(backupNameOf(row.path, out, sizeof out));
        EXPECT_STREQ(row.backup, out);
    }
    char small[8];
    EXPECT_FALSE(backupNameOf("C:\\abcdef.x", small, sizeof small));
    EXPECT_STREQ("", small);
    // The name and its ".001" with the NUL: 11 bytes, one fewer is a cut, none writes nothing.
    char exact[12] = "stale";
    EXPECT_FALSE(backupNameOf("C:\\abc.x", exact, 10));
    EXPECT_STREQ("", exact);
    EXPECT_TRUE(backupNameOf("C:\\abc.x", exact, 11));
    EXPECT_STREQ("C:\\abc.001", exact);
    EXPECT_FALSE(backupNameOf("C:\\abc.x", exact, 0));
    EXPECT_STREQ("C:\\abc.001", exact);
    EXPECT_FALSE(backupNameOf("C:\\abc.x", exact, 1));
    EXPECT_STREQ("", exact);
}

TEST(SecurityRules, IdentityDatabaseLine)
{
    struct Row {
        const char* line;
        bool found;
        const char* value;
    };
    const Row rows[] = {
        {"identity.database=C:/keys/identitydb.obj\n", true, "C:\\keys\\identitydb.obj"},
        {"identity.database=C:\\\\keys\\\\\\identitydb.obj  \r\n", true, "C:\\keys\\identitydb.obj"},
        {"identity.database=${user.home}/db\n", true, "${user.home}\\db"},
        {"identity.database=\n", true, ""},
        {"identity.database=\\\\server\\keys\n", true, "\\server\\keys"},  // a leading run too
        {"identity.database=//x/db\n", true, "\\x\\db"},
        {"identity.database=C:/db\t\n", true, "C:\\db"},
        {"#identity.database=x\n", false, ""},
        {"policy.provider=x\n", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        char out[100] = "";
        EXPECT_EQ(row.found, identityDatabaseOfLine(row.line, out, sizeof out));
        if (row.found) {
            EXPECT_STREQ(row.value, out);
        }
    }
    // "abcd" needs 5 bytes: with 4 the run fails without writing past the fourth.
    char out[6] = "xxxxx";
    EXPECT_FALSE(identityDatabaseOfLine("identity.database=abcd", out, 4));
    EXPECT_STREQ("", out) << "a failed run leaves no part of the path";
    EXPECT_EQ('x', out[4]);
    EXPECT_TRUE(identityDatabaseOfLine("identity.database=abcd", out, 5));
    EXPECT_STREQ("abcd", out);
    EXPECT_TRUE(identityDatabaseOfLine("identity.database=\r\n", out, 1));
    EXPECT_STREQ("", out);
}

TEST(SecurityRules, SplitAtTheLastSlashOnly)
{
    struct Row {
        const char* text;
        bool split;
        const char* before;
        const char* after;
    };
    const Row rows[] = {
        {"${user.home}/lib/security/java.policy", true, "${user.home}/lib/security", "java.policy"},
        {"${java.home}/a\\b/c\\d", true, "${java.home}/a\\b", "c\\d"},  // "\\" does not split
        {"/x", true, "", "x"},
        {"x/", true, "x", ""},
        {"a\\b", false, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        char before[50] = "poison";
        char after[50] = "poison";
        EXPECT_EQ(row.split, splitAtLastSlash(row.text, before, sizeof before, after, sizeof after));
        EXPECT_STREQ(row.before, before);
        EXPECT_STREQ(row.after, after);
    }
    char small[4];
    char after[50];
    EXPECT_FALSE(splitAtLastSlash("abcd/x", small, sizeof small, after, sizeof after));
    EXPECT_STREQ("", small);
    EXPECT_TRUE(splitAtLastSlash("abc/x", small, sizeof small, after, sizeof after));
    char before[50] = "stale";
    EXPECT_FALSE(splitAtLastSlash("${user.home}/keystore.jks", before, sizeof before, small, 4));
    EXPECT_STREQ("", before);
    EXPECT_STREQ("", small);

    // The per-user form is recognised in any case.
    EXPECT_TRUE(equalsAsciiNoCase("${USER.Home}", "${user.home}"));
    EXPECT_TRUE(equalsAsciiNoCase("${user.home}", "${USER.HOME}"));
    EXPECT_FALSE(equalsAsciiNoCase("${user.home}x", "${user.home}"));
    EXPECT_FALSE(equalsAsciiNoCase("${user.hom}", "${user.home}"));
    EXPECT_FALSE(equalsAsciiNoCase("${user_home}", "${user.home}"));
}

TEST(SecurityRules, ChangeLogWords)
{
    const char* verb = nullptr;
    const char* preposition = nullptr;
    backupWords("spanish", &verb, &preposition);
    EXPECT_STREQ("Reagrupado ", verb);
    EXPECT_STREQ("a", preposition);
    backupWords("french", &verb, &preposition);
    EXPECT_EQ(std::string("Renomm\xEF\xBF\xBD"), verb);
    backupWords("japanese", &verb, &preposition);
    EXPECT_STREQ("Renamed", verb);
    EXPECT_STREQ("to", preposition);
    backupWords("klingon", &verb, &preposition);
    EXPECT_STREQ("Renamed", verb);
}

} // namespace
