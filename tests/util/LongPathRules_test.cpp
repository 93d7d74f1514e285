#include "util/LongPathRules.h"

#include <gtest/gtest.h>

#include <string>

TEST(LongPathRules, RelativeNamesLieInThePackageDirectory)
{
    for (const wchar_t* name : {L"qrv.control", L"META-INF\\MANIFEST.MF", L"..\\x", L"."})
        EXPECT_TRUE(long_path::isRelative(name)) << name;
    for (const wchar_t* name : {L"", L"C:\\x", L"c:x", L"C:", L"\\x", L"/x",
                                L"\\\\server\\share\\x", L"\\\\?\\C:\\x"})
        EXPECT_FALSE(long_path::isRelative(name)) << name;
}

TEST(LongPathRules, FullPathsPastThePlainLimitTakeTheLongForm)
{
    const std::wstring plain = L"C:\\" + std::wstring(long_path::PlainLimit - 3, L'd');
    const std::wstring share = L"\\\\server\\share\\" + std::wstring(240, L'd');
    struct Row {
        std::wstring path;
        std::wstring form;
    };
    const Row rows[] = {
        {plain, plain},  // a directory of this length can still be made without it
        {plain + L"x", L"\\\\?\\" + plain + L"x"},
        {share, L"\\\\?\\UNC\\server\\share\\" + std::wstring(240, L'd')},
        {L"\\\\?\\" + plain + L"x", L"\\\\?\\" + plain + L"x"},  // given in the long form
        {L"\\\\.\\" + plain + L"x", L"\\\\.\\" + plain + L"x"},  // a device's name
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.form, long_path::extended(row.path)) << row.path.size();
}
