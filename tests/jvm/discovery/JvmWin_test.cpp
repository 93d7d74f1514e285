#include "jvm/discovery/FindJvm.h"
#include "jvm/discovery/JvmWin.h"

#include "jvm/discovery/JvmSupport.h"

#include <algorithm>

using namespace qrvtest;
using namespace jvmtest;

namespace {

const std::string Jre = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const std::string Jdk = "SOFTWARE\\JavaSoft\\Java Development Kit";
const std::string Plugin = "SOFTWARE\\JavaSoft\\Java Plug-in";

size_t position(const std::vector<std::string>& lines, const std::string& text)
{
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), text) - lines.begin());
}

class RegistrySearch : public InTempDirWithRegistry {
protected:
    RegistrySearch() { createTraceLog(); }

    // A registered JVM: version key under `product` with a stand-in program in home\bin.
    std::string registerJvm(const std::string& product, const std::string& name,
                            const std::string& micro, const std::string& reported,
                            const std::string& program = "java.exe")
    {
        const std::string home = dir / (product == Jre ? "jre-" : product == Jdk ? "jdk-" : "pi-") + name;
        CreateDirectoryA(home.c_str(), nullptr);
        installFakeJvm(home + "\\bin", program, reported);
        const std::string key = product + "\\" + name;
        if (!micro.empty())
            setRegString(HKEY_LOCAL_MACHINE, key, "MicroVersion", micro);
        setRegString(HKEY_LOCAL_MACHINE, key, "JavaHome", home);
        return home;
    }

    bool search(const char* required, const char* minimum, const char* maximum,
                const char* jvmName = "JRE")
    {
        FindJvm finder;
        return finder.isJvmInstalled(required, minimum, maximum, jvmName, command, path);
    }

    std::vector<std::string> trace() const { return logMessages("jinstall.log"); }

    char command[5001] = "java.exe";
    char path[5001] = "";
};

TEST_F(RegistrySearch, NoJavaSoftKeys)
{
    copyText(command, sizeof command, "jrew.exe");
    EXPECT_FALSE(search("1.4", "", ""));
    EXPECT_STREQ("jrew.exe", command);
    const auto lines = trace();
    EXPECT_EQ(3u, count(lines, "unable to find a compatible Jvm"));
    EXPECT_EQ(1u, count(lines, "JRE registry entry had correct jvm info: false"));
    EXPECT_EQ(1u, count(lines, "JDK registry entry had correct jvm info: false"));
    EXPECT_EQ(1u, count(lines, "Java Plugin registry entry had correct jvm info: false"));
}

TEST_F(RegistrySearch, LongCommandComesBackWhole)
{
    const std::string longName = std::string(150, 'j') + ".exe";
    copyText(command, sizeof command, longName.c_str());
    EXPECT_FALSE(search("1.4", "", ""));
    EXPECT_EQ(longName, command);
}

TEST_F(RegistrySearch, RuntimeBeatsDevelopmentKit)
{
    const std::string jre = registerJvm(Jre, "1.4", "2", "1.4.2");
    registerJvm(Jdk, "1.6", "0", "1.6.0");
    EXPECT_TRUE(search("", "1.4", ""));
    EXPECT_EQ(jre + "\\bin\\java.exe", path);
    EXPECT_EQ(0u, count(trace(), "JDK registry entry had correct jvm info: false"));
    EXPECT_EQ(1u, count(trace(), "found jvm " + jre + "\\bin\\java.exe"));
}

TEST_F(RegistrySearch, NewestFirstThenFallbackToAnOlderOne)
{
    copyTestClass();
    registerJvm(Jre, "1.4.2", "2", "1.4.2");
    const std::string old = registerJvm(Jre, "1.3.1", "1", "1.3.1");
    EXPECT_TRUE(search("", "1.3", "1.3"));
    EXPECT_EQ(old + "\\bin\\java.exe", path);
    const auto lines = trace();
    EXPECT_LT(position(lines, "                 version 1.4.2"),
              position(lines, "                 version 1.3.1"));
    EXPECT_EQ(1u, count(lines, "available versions: 2"));
    EXPECT_EQ(1u, count(logMessages("errors.log"), "Jvm isn't installed properly."));
}

TEST_F(RegistrySearch, VersionsAreTriedInReverseByteOrder)
{
    for (const char* name : {"1.4", "1.6.0_20", "1.10", "1.5", "1.4.2_05", "1.6", "1.1"})
        setRegString(HKEY_LOCAL_MACHINE, Jre + "\\" + name, "MicroVersion", "0");
    EXPECT_FALSE(search("1.4", "", ""));
    std::vector<std::string> tried;
    const std::string prefix = "                 version ";
    for (const std::string& line : trace()) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            tried.push_back(line.substr(prefix.size()));
    }
    const std::vector<std::string> expected = {"1.6.0_20", "1.6", "1.5", "1.4.2_05",
                                               "1.4",      "1.10", "1.1"};
    EXPECT_EQ(expected, tried);
    EXPECT_STREQ("java.exe", command);
}

TEST_F(RegistrySearch, PluginNameInAnyCaseSearchesOnlyThePluginKey)
{
    registerJvm(Jre, "1.6", "0", "1.6.0");
    const std::string plugin = registerJvm(Plugin, "1.5", "0", "1.5.0");
    EXPECT_TRUE(search("", "1.4", "", "jAVA plug-IN"));
    EXPECT_EQ(plugin + "\\bin\\java.exe", path);
    EXPECT_EQ(0u, count(trace(), "JRE registry entry had correct jvm info: false"));
    EXPECT_EQ(1u, count(trace(), "Java Plugin registry entry had correct jvm info: true"));
}

TEST_F(RegistrySearch, PluginKeyWithoutMicroVersionTakesItFromTheSetting)
{
    const std::string plugin = registerJvm(Plugin, "1.4", "", "1.4.2");
    EXPECT_TRUE(search("1.4.2", "", "", "Java Plug-in"));
    const auto lines = trace();
    EXPECT_EQ(1u, count(lines, "no known minor version for " + Plugin));
    EXPECT_EQ(1u, count(lines, "no home directory for jvm"));
    EXPECT_EQ(1u, count(lines, "jvm version 1.4.2"));
    EXPECT_EQ(plugin + "\\bin\\java.exe", path);
}

TEST_F(RegistrySearch, KeyWithoutMicroVersionFallsBackToHome)
{
    // Such keys name their home in "JavaHome" or "Home"; the JVM is found through either.
    const std::string home = dir / "old-jre";
    CreateDirectoryA(home.c_str(), nullptr);
    installFakeJvm(home, "java.exe", "1.5.0");
    setRegString(HKEY_LOCAL_MACHINE, Jre + "\\1.5", "Home", home);
    EXPECT_TRUE(search("1.5", "", ""));
    EXPECT_EQ(home + "\\java.exe", path);
    EXPECT_EQ(0u, count(trace(), "no known minor version for " + Jre));
}

TEST_F(RegistrySearch, OldRuntimeCommandChangesOnlyOnSuccess)
{
    copyText(command, sizeof command, "jre.exe");
    registerJvm(Jre, "1.6", "0", "1.6.0", "javaw.exe");
    EXPECT_FALSE(search("1.7", "", ""));
    EXPECT_STREQ("jre.exe", command);
    EXPECT_TRUE(search("1.6", "", ""));
    EXPECT_STREQ("javaw.exe", command);  // the trace file exists: the windowed form
}

TEST_F(RegistrySearch, VersionKeyThatDoesNotOpen)
{
    JvmWin search;
    char version[5001] = "9.9";
    char home[5001] = "x";
    EXPECT_FALSE(search.lookUpRegistryEntryForJvm(Jre.c_str(), 0, "", "", "", version, command,
                                                  home, path));
    EXPECT_STREQ("", home);
    EXPECT_EQ(1u, count(trace(), "no such registry entry " + Jre + "\\9.9"));
    EXPECT_EQ(1u, count(trace(), "found jvm: false"));
}

TEST_F(RegistrySearch, JvmRegisteredOnlyInTheOtherViewIsFound)
{
    // The 64-bit program's other view is the 32-bit one, kept under Wow6432Node. Wine, with
    // HKEY_LOCAL_MACHINE mapped to a scratch key, redirects the 32-bit view there only while a
    // Wow6432Node key exists and otherwise opens the 64-bit key itself; the search notices that
    // both views lead to one key and reads it once (VersionsAreTriedInReverseByteOrder).
    const std::string home = dir / "jre32";
    CreateDirectoryA(home.c_str(), nullptr);
    installFakeJvm(home + "\\bin", "java.exe", "1.6.0");
    const std::string key = "SOFTWARE\\Wow6432Node\\JavaSoft\\Java Runtime Environment\\1.6";
    setRegString(HKEY_LOCAL_MACHINE, key, "MicroVersion", "0");
    setRegString(HKEY_LOCAL_MACHINE, key, "JavaHome", home);
    EXPECT_TRUE(search("1.6", "", ""));
    EXPECT_EQ(home + "\\bin\\java.exe", path);
}

} // namespace
