#include "install/Install.h"
#include "support/TestSupport.h"

using namespace qrvtest;

namespace {

class StatusDriver : public Install {
public:
    void setSwitches(bool quiet, bool properties)
    {
        quietInstall = quiet;
        propertiesInstall = properties;
    }
};

class ShowStatusMessage : public InTempDirWithRegistry {
protected:
    void setLocale(const char* name)
    {
        setRegString(HKEY_CURRENT_USER, "Control Panel\\International", "LocaleName", name);
    }
};

TEST_F(ShowStatusMessage, TracesTheStepTextOfTheCurrentLanguage)
{
    createTraceLog();
    StatusDriver driver;
    driver.showStatusMessage(3);
    setLocale("polish");  // asked afresh on every call
    driver.showStatusMessage(3);
    setLocale("Japanese");
    driver.showStatusMessage(2);
    driver.showStatusMessage(6);
    EXPECT_EQ((std::vector<std::string>{"Searching for the JVM...", "Searching for JVM...", ".",
                                        ""}),
              logMessages("jinstall.log"));
}

TEST_F(ShowStatusMessage, SilentInQuietAndPropertiesRuns)
{
    createTraceLog();
    StatusDriver driver;
    driver.setSwitches(true, false);
    driver.showStatusMessage(1);
    driver.setSwitches(false, true);
    driver.showStatusMessage(1);
    EXPECT_EQ("", readFile("jinstall.log"));
}

} // namespace
