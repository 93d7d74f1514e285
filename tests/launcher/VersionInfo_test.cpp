// Both programs show the version information of the build's branding, read as Windows reads it.
#include "branding.h"
#include "support/TestSupport.h"
#include "util/Wide.h"

#include <string>
#include <vector>

using namespace qrvtest;

namespace {

TEST(VersionInfo, BothProgramsCarryTheBuildsBranding)
{
    const WORD numbers[] = {QRV_VERSION_NUMBERS};
    for (const std::string program : {"setup", "cleanup"}) {
        SCOPED_TRACE(program);
        const std::wstring path = widen(builtProgram(program + ".exe").c_str());
        std::vector<char> data(GetFileVersionInfoSizeW(path.c_str(), nullptr) + 1);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()),
                                        data.data()));
        void* value = nullptr;
        UINT size = 0;
        ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &value, &size));
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(numbers[1], numbers[0])), fixed->dwFileVersionMS);
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(numbers[3], numbers[2])), fixed->dwFileVersionLS);
        const std::string rows[][2] = {
            {"ProductName", QRV_PRODUCT_NAME}, {"ProductVersion", QRV_VERSION_TEXT},
            {"FileVersion", QRV_VERSION_TEXT}, {"FileDescription", QRV_PRODUCT_NAME " " + program},
            {"CompanyName", QRV_COMPANY}, {"LegalCopyright", QRV_COPYRIGHT},
            {"OriginalFilename", program + ".exe"},
        };
        for (const auto& [name, expected] : rows) {
            const std::wstring key = widen("\\StringFileInfo\\040904B0\\" + name, CP_UTF8);
            const bool found = VerQueryValueW(data.data(), key.c_str(), &value, &size);
            EXPECT_EQ(widen(expected, CP_UTF8), found ? static_cast<wchar_t*>(value) : L"(none)")
                << name;
        }
    }
}

}  // namespace
