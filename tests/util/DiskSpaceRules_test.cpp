#include "util/DiskSpaceRules.h"

#include <gtest/gtest.h>

namespace {

TEST(DiskSpaceRules, SizesInTheUnitAUserReadsCutNeverRoundedUp)
{
    const std::pair<unsigned long long, const char*> rows[] = {
        {0, "0 bytes"}, {1023, "1023 bytes"}, {1024, "1 KB"}, {65536, "64 KB"},
        {1048575, "1023 KB"}, {1048576, "1.0 MB"}, {1572863, "1.4 MB"},
        {22977306214ull, "21.3 GB"}, {22987306214ull, "21.4 GB"}, {~0ull, "15.9 EB"},
    };
    for (const auto& [bytes, text] : rows)
        EXPECT_EQ(text, spaceText(bytes)) << bytes;
    EXPECT_EQ("free space: Q:\\ 64 KB, C:\\ 21.4 GB, \\\\s\\h\\ unknown",
              freeSpaceText({{"Q:\\", true, 65536}, {"", true, 5}, {"C:\\", true, 22987306214ull},
                             {"q:\\", true, 1}, {"\\\\s\\h\\", false, 0}}));
    EXPECT_EQ("The disk of Q:\\jvm is full.", diskFullText("Q:\\jvm"));
}

} // namespace
