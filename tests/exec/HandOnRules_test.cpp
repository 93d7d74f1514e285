#include "exec/HandOnRules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using hand_on::Form;

// A system whose code page lacks "Z" (a letter of a foreign script here) and whose short names
// are those of the map.
TEST(HandOnRules, FirstFormTheChildCanRead)
{
    const std::map<std::string, std::string> shortNames = {
        {"C:\\Z\\pkg", "C:\\A~1\\pkg"},         {"C:\\Zu\\pkg", "C:\\Z~2\\pkg"},
        {"C:\\My Kit\\x.exe", "C:\\MYKIT~1\\x.exe"}, {"C:\\My Z\\x.exe", "C:\\MY~2\\x.exe"}};
    hand_on::PathFacts facts;
    facts.fits = [](const std::string& text) { return text.find('Z') == std::string::npos; };
    facts.shortName = [&](const std::string& path) {
        const auto found = shortNames.find(path);
        return found != shortNames.end() ? found->second : std::string();
    };
    struct Row {
        const char* path;
        const char* workDir;
        bool avoidBlanks;
        Form form;
        const char* text;
    };
    const Row rows[] = {
        {"C:\\J\xC3\xBCrgen\\Caf\xC3\xA9", "", false, Form::Whole, "C:\\J\xC3\xBCrgen\\Caf\xC3\xA9"},
        {"C:\\My Kit\\x.exe", "", false, Form::Whole, "C:\\My Kit\\x.exe"},
        {"C:\\My Kit\\x.exe", "", true, Form::BlankFree, "C:\\MYKIT~1\\x.exe"},
        {"C:\\Z\\pkg", "C:\\Z\\pkg", false, Form::ShortName, "C:\\A~1\\pkg"},
        {"C:\\My Z\\x.exe", "", false, Form::ShortName, "C:\\MY~2\\x.exe"},
        {"C:\\Z\\app", "C:\\Z", false, Form::Relative, "app"},
        {"C:\\Z\\app", "c:\\z\\", false, Form::Relative, "app"},
        {"C:\\Z\\app", "C:\\Z\\app", false, Form::Relative, "."},
        {"C:\\Z\\Z", "C:\\Z", false, Form::None, ""},   // the rest lacks letters too
        {"C:\\Z\\app", "C:\\Z\\ap", false, Form::None, ""},  // a longer name is no sub-folder
        {"C:\\Zu\\pkg", "", false, Form::None, ""},  // its short name lacks letters too
    };
    for (const Row& row : rows) {
        const hand_on::Choice choice =
            hand_on::choose(row.path, row.workDir, facts, row.avoidBlanks);
        EXPECT_EQ(row.form, choice.form) << row.path << " in " << row.workDir;
        EXPECT_EQ(row.text, choice.text) << row.path << " in " << row.workDir;
    }
}

TEST(HandOnRules, RelativeOnlyBelowTheWorkingDirectory)
{
    const char* rows[][3] = {
        {"C:\\b\\x", "C:\\a", ""}, {"C:\\b", "C:\\a", ""},  {"C:\\a\\x", "C:\\a", "x"},
        {"\\app", "\\", "app"},    {"C:\\a", "C:\\a\\", "."}, {"C:\\a\\", "C:\\a", "."},
        {"", "", ""},              {"\\\\server\\kit\\app.jar", "", ""},  // no working directory
    };
    for (const auto& row : rows)
        EXPECT_EQ(row[2], hand_on::relativeTo(row[0], row[1])) << row[0] << " in " << row[1];
}
