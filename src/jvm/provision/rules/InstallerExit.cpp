#include "jvm/provision/InstallerExit.h"

namespace {
struct Meaning {
    unsigned long code;
    InstallerEnd end;
    const char* text;
};

// Windows Installer's documented codes that a package author meets on users' machines.
const Meaning Meanings[] = {
    {0, InstallerEnd::Success, ""},
    {3010, InstallerEnd::RestartWanted, "done, a restart of the computer is wanted"},
    {1641, InstallerEnd::RestartWanted, "done, the installer started a restart of the computer"},
    {1602, InstallerEnd::Cancelled, "the user cancelled the installation"},
    {1618, InstallerEnd::Busy,
     "another installation is in progress: wait until it has finished, then start this "
     "installer again"},
    {1603, InstallerEnd::Failed,
     "a fatal error during installation, often missing administrator rights"},
    {1619, InstallerEnd::Failed, "the package could not be opened"},
    {1625, InstallerEnd::Failed, "forbidden by system policy"},
    {1633, InstallerEnd::Failed, "not supported on this processor"},
    {1638, InstallerEnd::Failed, "another version of the product is installed"},
};
} // namespace

InstallerVerdict judgeInstallerExit(unsigned long code)
{
    for (const Meaning& meaning : Meanings) {
        if (meaning.code == code)
            return {meaning.end, meaning.text};
    }
    return {InstallerEnd::Failed, ""};
}

std::string installerFailureText(const std::string& installer, unsigned long code,
                                 const std::string& log)
{
    std::string text =
        "The JVM installer " + installer + " ended with exit code " + std::to_string(code);
    const std::string meaning = judgeInstallerExit(code).meaning;
    if (!meaning.empty())
        text += " (" + meaning + ")";
    text += ".";
    if (!log.empty())
        text += " Its log is " + log + ".";
    return text;
}

std::string restartWantedText(const std::string& installer, unsigned long code)
{
    return "The JVM installer " + installer + " asks for a restart of the computer (exit code " +
           std::to_string(code) + "); the JVM can be used at once.";
}
