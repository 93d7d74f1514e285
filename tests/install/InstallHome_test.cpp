#include "install/Install.h"
#include "jvm/discovery/WinVersion.h"
#include "support/TestSupport.h"

#include <cstdlib>

using namespace qrvtest;

namespace {

constexpr const char* NtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* NtSetupKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SETUP";
constexpr const char* Win9xSetupKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SETUP";

// Windows as a packed version of its own: the family question goes through the real rule.
class VersionOf : public WinVersion {
public:
    explicit VersionOf(unsigned long packed) : packed_(packed) {}

protected:
    unsigned long queryVersion() override { return packed_; }

private:
    unsigned long packed_;
};

class HomeInstall : public Install {
public:
    void setNT(bool nt) { winNT = nt; }
    bool isNT() const { return winNT; }
    // The packed version that the family question is answered from; 0 asks Windows.
    unsigned long packedVersion = 0;

protected:
    bool askWinNT() override
    {
        return packedVersion == 0 ? Install::askWinNT() : VersionOf(packedVersion).winNT();
    }
};


class Home : public InTempDirWithRegistry {
protected:
    void SetUp() override { createTraceLog(); }
    HomeInstall install;
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(Home, NtRegistryValuesAreTriedInOrder)
{
    struct Row {
        const char* key;
        const char* value;
        const char* trace;
    };
    const Row rows[] = {
        {NtKey, "SystemRoot", "got home directory from SystemRoot"},
        {NtKey, "PathName", "got home directory from PathName"},
        {NtKey, "WinDir", "got home directory from WinDir"},
        {NtSetupKey, "WinDir", "got home directory from Setup WinDir"},
    };
    install.setNT(true);
    // Each row's value is set in turn, from the last source to the first: the newest wins.
    for (int i = 3; i >= 0; --i) {
        SCOPED_TRACE(rows[i].trace);
        const std::string value = std::string("C:\\Win") + std::to_string(i);
        setRegString(HKEY_LOCAL_MACHINE, rows[i].key, rows[i].value, value);
        createTraceLog();
        EXPECT_TRUE(install.getHomeDirectory());
        EXPECT_STREQ(value.c_str(), install.getHomeDirectoryText());
        EXPECT_EQ((Lines{rows[i].trace, "home directory " + value}), logMessages("jinstall.log"));
    }
}

TEST_F(Home, AnEmptyValueLeadsToTheNextSource)
{
    setRegString(HKEY_LOCAL_MACHINE, NtKey, "SystemRoot", "");
    setRegString(HKEY_LOCAL_MACHINE, NtKey, "PathName", "C:\\PN");
    install.setNT(true);
    EXPECT_TRUE(install.getHomeDirectory());
    EXPECT_STREQ("C:\\PN", install.getHomeDirectoryText());
}

TEST_F(Home, AValueStoredWithoutItsNulIsEndedAnyway)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, NtKey, 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    const char text[] = "C:\\NoNul";
    RegSetValueExA(key, "SystemRoot", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   sizeof text - 1);
    RegCloseKey(key);
    install.setNT(true);
    EXPECT_TRUE(install.getHomeDirectory());
    EXPECT_STREQ("C:\\NoNul", install.getHomeDirectoryText());
}

TEST_F(Home, The9xRoadReadsOnlyItsSetupKeyAndTracesNoSource)
{
    setRegString(HKEY_LOCAL_MACHINE, NtKey, "SystemRoot", "C:\\NT");
    setRegString(HKEY_LOCAL_MACHINE, Win9xSetupKey, "WinDir", "C:\\WIN98");
    install.packedVersion = 0xc0000004ul;  // Windows 95
    install.getWinEnvironmentSetup();
    EXPECT_FALSE(install.isNT());
    EXPECT_TRUE(install.getHomeDirectory());
    EXPECT_STREQ("C:\\WIN98", install.getHomeDirectoryText());
    EXPECT_EQ(Lines{"home directory C:\\WIN98"}, logMessages("jinstall.log"));
}

TEST_F(Home, NtWithoutRegistryTakesTheExistingPathEntryInLowerCase)
{
    CreateDirectoryA((dir / "WINNT").c_str(), nullptr);
    CreateDirectoryA((dir / "WINNT\\system32").c_str(), nullptr);
    CreateDirectoryA((dir / "WINNT\\WINNT").c_str(), nullptr);
    EnvOverride path("PATH", dir / "WINNT\\WINNT" + ";" + dir / "Gone\\WINNT" + ";" +
                      dir / "WINNT\\system32;" + dir / "WINNT");
    install.setNT(true);
    EXPECT_TRUE(install.getHomeDirectory());
    std::string expected = dir / "WINNT";
    for (char& c : expected)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(expected, install.getHomeDirectoryText());
    EXPECT_EQ((Lines{"unable to get windows directory from registry", "home directory " + expected}),
              logMessages("jinstall.log"));
}

TEST_F(Home, NtWithNothingElseTakesTheCurrentDirectory)
{
    // Under Wine there is no c:\winnt, so the NT road ends at the current directory.
    ASSERT_FALSE(exists("c:\\winnt"));
    EnvOverride path("PATH", dir / "nowhere");
    install.setNT(true);
    EXPECT_TRUE(install.getHomeDirectory());
    EXPECT_EQ(dir.path(), install.getHomeDirectoryText());
    EXPECT_EQ((Lines{"unable to get windows directory from registry",
                     "unable to get windows directory", "home directory " + dir.path()}),
              logMessages("jinstall.log"));
}

TEST_F(Home, The9xRoadFallsBackToTheFixedWindowsDirectory)
{
    // Wine's Windows directory is c:\windows, so the 9x road finds the fixed location.
    EnvOverride path("PATH", dir / "nowhere");
    install.setNT(false);
    EXPECT_TRUE(install.getHomeDirectory());
    EXPECT_STREQ("c:\\windows", install.getHomeDirectoryText());
    EXPECT_EQ((Lines{"unable to get windows directory from registry", "home directory c:\\windows"}),
              logMessages("jinstall.log"));
}

TEST_F(Home, IsDirInPathWithoutAPathFindsNothing)
{
    EnvOverride path("PATH", "");
    char out[5001] = "untouched";
    // An empty PATH variable is removed from the environment by _putenv.
    EXPECT_FALSE(install.isDirInPath("winnt", out));
    EXPECT_STREQ("untouched", out);
}
