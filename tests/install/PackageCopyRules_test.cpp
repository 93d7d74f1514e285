#include <gtest/gtest.h>

#include "install/PackageCopyRules.h"

using namespace tree_attributes;

// Links are skipped with all listed below them (not what only begins like their name); folders
// cost nothing, files their size; the space is the bytes, a tenth rounded up and 16 MiB.
TEST(PackageCopyRules, WhatIsCopiedAndTheSpaceItNeeds)
{
    const PackageCopyPlan plan = planPackageCopy({{"lib", 0, Directory},
                                                  {"lib\\a.jar", 100, ReadOnly},
                                                  {"link", 0, Directory | ReparsePoint},
                                                  {"link\\inside.txt", 1000, 0},
                                                  {"linked.txt", 7, ReparsePoint},
                                                  {"linkx\\b.txt", 23, 0}});
    EXPECT_EQ((std::vector<size_t>{0, 1, 5}), plan.copied);
    EXPECT_EQ((std::vector<size_t>{2, 3, 4}), plan.skipped);
    EXPECT_EQ(123u, plan.bytes);
    EXPECT_EQ(~0ull, planPackageCopy({{"a", ~0ull - 1, 0}, {"b", 5, 0}}).bytes);
    EXPECT_EQ((16ull << 20) + 2, packageCopySpace(1));
    EXPECT_EQ(126ull << 20, packageCopySpace(100ull << 20));
    EXPECT_EQ(~0ull, packageCopySpace(~0ull - (16ull << 20)));
}
