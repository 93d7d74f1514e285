#include "util/IdentityRules.h"

#include <gtest/gtest.h>

namespace {

// Wine gives every file an index of its own and no file id of zeros, so the identities that
// some network redirectors and NAS servers give every directory alike are shown here only.
TEST(IdentityRules, OnlyAnIdThatIsAFilesOwnNamesIt)
{
    IdentityFacts index;
    index.indexRead = true;
    index.volume = 0x1234ABCD;
    index.index = 0x0001000000000005ULL;
    IdentityFacts id = index;
    id.idRead = true;
    id.idVolume = 0x00000000DEADBEEFULL;
    id.id[0] = 0x05;
    id.id[15] = 0x80;
    IdentityFacts zeroId = index;  // a 128-bit id of zeros: the index decides
    zeroId.idRead = true;
    IdentityFacts zero = zeroId;
    zero.index = 0;
    IdentityFacts ones = index;
    ones.index = ~0ULL;
    const std::pair<IdentityFacts, const char*> rows[] = {
        {index, "1234ABCD-0001000000000005"},
        {id, "00000000DEADBEEF-80000000000000000000000000000005"},
        {zeroId, "1234ABCD-0001000000000005"}, {zero, ""}, {ones, ""}, {IdentityFacts(), ""},
    };
    for (const auto& [facts, text] : rows)
        EXPECT_EQ(text, identityText(facts));
}

} // namespace
