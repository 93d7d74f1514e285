#include "jvm/discovery/WinVersion.h"

#include "support/TestSupport.h"

using namespace qrvtest;

namespace {

TEST(WinVersionFamily, PackedVersions)
{
    EXPECT_EQ(WinVersion::Family::NT, WinVersion::familyOf(0x1db10106ul));    // 6.1
    EXPECT_EQ(WinVersion::Family::NT, WinVersion::familyOf(0x00000004ul));
    EXPECT_EQ(WinVersion::Family::Windows9x, WinVersion::familyOf(0xc0000004ul));  // 4.x
    EXPECT_EQ(WinVersion::Family::Unknown, WinVersion::familyOf(0x80000003ul));
}

class CountingWinVersion : public WinVersion {
public:
    unsigned long value = 0x80000003ul;
    int asked = 0;

protected:
    unsigned long queryVersion() override
    {
        ++asked;
        return value;
    }
};

class WinVersionInDir : public InTempDir {};

TEST_F(WinVersionInDir, AskedOnceAndABadVersionIsTraced)
{
    createTraceLog();
    CountingWinVersion version;
    EXPECT_FALSE(version.winNT());
    version.value = 0x00000006ul;
    EXPECT_FALSE(version.winNT());
    EXPECT_EQ(1, version.asked);
    const std::vector<std::string> expected = {"Bad version of windows"};
    EXPECT_EQ(expected, logMessages("jinstall.log"));
}

TEST(WinVersionOnThisSystem, WineReportsTheNtFamily)
{
    WinVersion version;
    EXPECT_TRUE(version.winNT());
}

} // namespace
