#include "util/IdentityRules.h"

#include <gtest/gtest.h>

namespace {

// Wine gives every file an index of its own and no file id of zeros, so the identities that
// some network redirectors and NAS servers give every directory alike are shown here only.
TEST(IdentityRules, OnlyAnIdThatIsAFilesOwnNamesIt)
{
    const std::pair<IdentityFacts, const char*> rows[] = {
        {{false, 0, {}, true, 0x1234ABCD, 0x0001000000000005ULL}, "1234ABCD-0001000000000005"},
        {{true, 0xDEADBEEF, {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}, true, 1, 5},
         "00000000DEADBEEF-80000000000000000000000000000005"},
        {{true, 7, {}, true, 0x1234ABCD, 5}, "1234ABCD-0000000000000005"},  // id of zeros
        {{true, 7, {}, true, 1, 0}, ""}, {{false, 0, {}, true, 1, ~0ULL}, ""}, {{}, ""},
    };
    for (const auto& [facts, text] : rows)
        EXPECT_EQ(text, identityText(facts));
    // Two files alike only in an index of 0 are not known to be the same.
    const IdentityFacts zero{false, 0, {}, true, 1, 0}, five{false, 0, {}, true, 1, 5};
    EXPECT_TRUE(!sameIdentity(zero, zero) && sameIdentity(five, five));
    EXPECT_FALSE(sameIdentity(five, IdentityFacts{false, 0, {}, true, 2, 5}));
}

} // namespace
