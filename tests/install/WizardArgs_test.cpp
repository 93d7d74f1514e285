#include "install/WizardArgs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

WizardSettings settingsOf(const char* command, const char* extra, const char* javaCommand,
                          bool quiet, bool properties, const char* details)
{
    WizardSettings s;
    s.jvmCommand = command;
    s.jvmExtraParameters = extra;
    s.jvmClasspathSwitch = "-cp";
    s.loaderClasspath = ".;install.jar";
    s.loaderJavaCommand = javaCommand;
    s.quietInstall = quiet;
    s.propertiesInstall = properties;
    s.installDetails = details;
    return s;
}

using Args = std::vector<std::string>;

} // namespace

TEST(WizardArgs, ListAndSizeFollowTheRules)
{
    struct Row {
        const char* what;
        WizardSettings settings;
        Args expected;
        int count;
    };
    const Row rows[] = {
        {"two switches, three words, quiet with details",
         settingsOf("C:\\Java\\bin\\javaw.exe", "-Xmx64m -Dy=1", "Loader a b", true, false,
                    "C:\\ans.txt"),
         {"javaw.exe", "-Xmx64m", "-Dy=1", "-cp", ".;install.jar", "Loader", "a", "b", "-q",
          "C:\\ans.txt"},
         12},
        {"quiet with empty details passes no switch",
         settingsOf("javaw.exe", "", "Loader", true, false, ""),
         {"javaw.exe", "-cp", ".;install.jar", "Loader"}, 6},
        {"both switches give -q", settingsOf("j.exe", "", "L", true, true, "d"),
         {"j.exe", "-cp", ".;install.jar", "L", "-q", "d"}, 8},
        {"properties install gives -s", settingsOf("j.exe", "", "L", false, true, "d"),
         {"j.exe", "-cp", ".;install.jar", "L", "-s", "d"}, 8},
        {"details without switches are not passed",
         settingsOf("j.exe", "", "L", false, false, "d"), {"j.exe", "-cp", ".;install.jar", "L"},
         6},
        {"blank without quote stays unquoted", settingsOf("j.exe", "", "L", true, false, "C:\\a b"),
         {"j.exe", "-cp", ".;install.jar", "L", "-q", "C:\\a b"}, 8},
        {"quote and blank get a further pair",
         settingsOf("j.exe", "", "L", true, false, "x=\"a b\""),
         {"j.exe", "-cp", ".;install.jar", "L", "-q", "\"x=\"a b\"\""}, 8},
        {"empty class gives one empty argument", settingsOf("j.exe", "", "", false, false, ""),
         {"j.exe", "-cp", ".;install.jar", ""}, 5},
        {"doubled blanks give empty words", settingsOf("j.exe", "-a  -b", "L  x", false, false, ""),
         {"j.exe", "-a", "", "-b", "-cp", ".;install.jar", "L", "", "x"}, 11},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Args built = buildWizardArguments(row.settings);
        EXPECT_EQ(row.expected, built);
        EXPECT_EQ(row.count, wizardParameterCount(row.settings));
        EXPECT_LE(static_cast<int>(built.size()), row.count);
    }
}

// Details that hold a double quote and a blank are the user's own quoting: the start passes them
// as written, not in the further pair of buildWizardArguments' list (their command-line form is
// ArgQuote's table).
TEST(WizardArgs, StartPassesTheUsersOwnQuotingAsWritten)
{
    const Args head = {"w.exe", "-cp", ".;install.jar", "L"};
    for (const char* details : {"\"C:\\a b\"", "x=\"a b\""}) {
        Args quiet = head;
        quiet.insert(quiet.end(), {"-q", details});
        EXPECT_EQ(quiet, wizardStartArguments(settingsOf("w.exe", "", "L", true, false, details)));
        // Without a switch no details follow the class: nothing to replace.
        EXPECT_EQ(head, wizardStartArguments(settingsOf("w.exe", "", "L", false, false, details)));
    }
}

// What the wizard's command-line split makes of the details that the user quoted himself.
TEST(WizardArgs, ArrivingTextIsWhatTheSplitGives)
{
    const char* rows[][2] = {
        {"\"a\" bc", "a bc"},  {"\"a\\b\"", "a\\b"},  {"\"a\\\\\"", "a\\"},
        {"\"a\\\\\\\"b\"", "a\\\"b"}, {"\"a\"\\", "a\\"}, {"x\"a\"", "xa"},
        {"\"a\"", "a"},         {" \"a\"", "a"},        {"\"a  b\"", "a  b"},
        {"a  b\\", "a  b\\"},  // no quote: as it is
    };
    for (const auto& row : rows)
        EXPECT_EQ(row[1], arrivingText(row[0])) << row[0];
}

TEST(WizardArgs, ClassPathElementsWithBlanksAreQuoted)
{
    EXPECT_EQ(".;\"C:\\a b\\x.jar\";install.jar", quotedClasspath(".;C:\\a b\\x.jar;install.jar"));
    EXPECT_EQ("", quotedClasspath(""));
    EXPECT_EQ(";a", quotedClasspath(";a"));
}
