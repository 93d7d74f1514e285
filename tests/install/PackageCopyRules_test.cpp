#include <gtest/gtest.h>

#include "install/PackageCopyRules.h"

using namespace tree_attributes;

// Links are skipped with everything listed below them, names that only begin like a link's
// are not; folders cost nothing, files their size.
TEST(PackageCopyRules, WhatIsCopiedAndWhatIsSkipped)
{
    const std::vector<TreeEntry> listing = {
        {"lib", 0, Directory},
        {"lib\\a.jar", 100, ReadOnly},
        {"link", 0, Directory | ReparsePoint},
        {"link\\inside.txt", 1000, 0},
        {"linked.txt", 7, ReparsePoint},
        {"linkx\\b.txt", 20, 0},
        {"setup.exe", 3, ReadOnly},
    };
    const PackageCopyPlan plan = planPackageCopy(listing);
    EXPECT_EQ((std::vector<size_t>{0, 1, 5, 6}), plan.copied);
    EXPECT_EQ((std::vector<size_t>{2, 3, 4}), plan.skipped);
    EXPECT_EQ(123u, plan.bytes);
    EXPECT_EQ(~0ull, planPackageCopy({{"a", ~0ull - 1, 0}, {"b", 5, 0}}).bytes);
}

TEST(PackageCopyRules, SpaceIsTheBytesATenthAndSixteenMebibytes)
{
    const unsigned long long mib = 1ull << 20;
    EXPECT_EQ(16 * mib, packageCopySpace(0));
    EXPECT_EQ(16 * mib + 2, packageCopySpace(1));  // the tenth rounds up
    EXPECT_EQ(110 * mib + 16 * mib, packageCopySpace(100 * mib));
    EXPECT_EQ(~0ull, packageCopySpace(~0ull - 16 * mib));
    EXPECT_EQ(~0ull, packageCopySpace(~0ull));
}
