// Both programs show the version information of the default branding, read as Windows reads it.
#include "support/TestSupport.h"
#include "util/Wide.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace qrvtest;

namespace {

std::string versionValue(const std::vector<char>& data, const std::string& name)
{
    void* value = nullptr;
    UINT size = 0;
    const std::wstring key = widen("\\StringFileInfo\\040904B0\\" + name, CP_UTF8);
    if (!VerQueryValueW(const_cast<char*>(data.data()), key.c_str(), &value, &size))
        return "(none)";
    char text[256] = "";
    WideCharToMultiByte(CP_UTF8, 0, static_cast<wchar_t*>(value), -1, text, sizeof text, nullptr,
                        nullptr);
    return text;
}

TEST(VersionInfo, BothProgramsCarryTheDefaultBranding)
{
    for (const std::string program : {"setup", "cleanup"}) {
        SCOPED_TRACE(program);
        const std::wstring path = widen(builtProgram(program + ".exe").c_str());
        std::vector<char> data(GetFileVersionInfoSizeW(path.c_str(), nullptr) + 1);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()),
                                        data.data()));
        const std::string rows[][2] = {
            {"ProductName", "Quorvan Installer"},
            {"FileDescription", "Quorvan Installer " + program},
            {"CompanyName", "Quorvan"}, {"LegalCopyright", "Copyright (C) Quorvan"},
            {"OriginalFilename", program + ".exe"},
        };
        for (const auto& [name, expected] : rows)
            EXPECT_EQ(expected, versionValue(data, name)) << name;

        // The numbers Windows compares are the version the text shows, padded with zeros.
        const std::string text = versionValue(data, "FileVersion");
        EXPECT_EQ(text, versionValue(data, "ProductVersion"));
        unsigned numbers[4] = {};
        EXPECT_LE(1, std::sscanf(text.c_str(), "%u.%u.%u.%u", &numbers[0], &numbers[1],
                                 &numbers[2], &numbers[3])) << text;
        void* value = nullptr;
        UINT size = 0;
        ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", &value, &size));
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        EXPECT_EQ(MAKELONG(numbers[1], numbers[0]), static_cast<LONG>(fixed->dwFileVersionMS));
        EXPECT_EQ(MAKELONG(numbers[3], numbers[2]), static_cast<LONG>(fixed->dwFileVersionLS));
    }
}

}  // namespace
