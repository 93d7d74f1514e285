#include "util/HeldRules.h"

#include <gtest/gtest.h>

namespace {

TEST(HeldRules, SharingErrorsAlwaysWaitAndARefusalOnlyOfAPlainEntry)
{
    using A = FileAction;
    const struct { unsigned long error; A action; bool plain; bool held; } rows[] = {
        {32, A::Start, false, true}, {33, A::Copy, false, true}, {1224, A::Rename, false, true},
        {5, A::Delete, true, true}, {5, A::Rename, true, true}, {5, A::RemoveDir, true, true},
        {5, A::Delete, false, false}, {5, A::Copy, true, false}, {5, A::Start, true, false},
        {2, A::Delete, true, false}, {145, A::RemoveDir, true, false}, {112, A::Copy, true, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.held, heldFailure(row.error, row.action, row.plain)) << row.error;
        EXPECT_EQ(row.error == 5 && row.action != A::Copy && row.action != A::Start,
                  heldVerdictNeedsEntry(row.error, row.action));
    }
}

TEST(HeldRules, SevenWaitsOfAboutFiveSecondsWithinTheRunsBudget)
{
    unsigned long total = 0;
    int retry = 0;
    for (unsigned long wait; (wait = heldWaitMs(retry, 0)) != 0; ++retry)
        total += wait;
    EXPECT_EQ(7, retry);
    EXPECT_EQ(5000ul, total);
    EXPECT_EQ(50ul, heldWaitMs(0, 0));
    EXPECT_EQ(30ul, heldWaitMs(6, HeldBudgetMs - 30));
    EXPECT_EQ(0ul, heldWaitMs(0, HeldBudgetMs));
    EXPECT_EQ(0ul, heldWaitMs(-1, 0));
}

TEST(HeldRules, LinesNameTheFileAsTheUserKnowsItAndItsHolders)
{
    EXPECT_EQ("waiting for C:\\a: held by another program", heldWaitLine("\\\\?\\C:\\a"));
    const std::string x80(80, 'x');
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{}, ""}, {{"", "Editor"}, " (Editor)"}, {{"A\nB", "C"}, " (A?B, C)"},
        {{"1", "2", "3", "4", "5"}, " (1, 2, 3, 4, ...)"}, {{x80 + "cut"}, " (" + x80 + ")"},
    };
    for (const auto& [holders, named] : rows)
        EXPECT_EQ("\\\\s\\h\\a: held by another program" + named,
                  heldFileLine("\\\\?\\UNC\\s\\h\\a", holders));
}

} // namespace
