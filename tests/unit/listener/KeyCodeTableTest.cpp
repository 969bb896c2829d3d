// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "NSEvent-PLXKeyCodeAdditions.h"

#include "FakeKeyboardLayout.h"

#include <gtest/gtest.h>

using Doubles::FakeKeyboardLayout;
using namespace PLXKeyCodeAdditions;

namespace {

class KeyCodeTableTest : public ::testing::Test {
protected:
    KeyCodeTableTest() { resetTableForTesting(); }
    ~KeyCodeTableTest() override { resetTableForTesting(); }
    FakeKeyboardLayout mLayout;
};

struct LookupCase {
    const char* name;
    std::vector<FakeKeyboardLayout::Table> tables;
    std::int16_t character;
    std::int16_t expected;
    friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }
};

class KeyCodeLookupTest : public KeyCodeTableTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(KeyCodeLookupTest, FirstKeyInTableThenKeyOrder)
{
    mLayout.addLayout(7, GetParam().tables);
    mLayout.select(7);
    EXPECT_EQ(keyCodeForAscii(mLayout, GetParam().character), GetParam().expected);
}

const std::vector<FakeKeyboardLayout::Table> kZOnKey6 = {FakeKeyboardLayout::table({{6, 'z'}}),
                                                         FakeKeyboardLayout::table({{6, 'Z'}})};

INSTANTIATE_TEST_SUITE_P(
    Lookups, KeyCodeLookupTest,
    ::testing::Values(LookupCase{"LowerCaseInPlainTable", kZOnKey6, 'z', 6},
                      LookupCase{"CapitalInShiftTable", kZOnKey6, 'Z', 6},
                      LookupCase{"EarlierTableWins",
                                 {FakeKeyboardLayout::table({{12, 'q'}}), FakeKeyboardLayout::table({{3, 'q'}})}, 'q',
                                 12},
                      LookupCase{"LowerKeyWinsInOneTable", {FakeKeyboardLayout::table({{40, 'k'}, {9, 'k'}})}, 'k', 9},
                      LookupCase{"NoKeyTypesIt", kZOnKey6, 'x', -1},
                      LookupCase{"CharacterZeroIsTheFirstKeyTypingIt", kZOnKey6, 0, 0},
                      LookupCase{"Latin1Character", {FakeKeyboardLayout::table({{41, char(0xF6)}})}, 0xF6, 41},
                      LookupCase{"Above255", kZOnKey6, 256, 0},
                      LookupCase{"MinusOne", kZOnKey6, -1, 0},
                      LookupCase{"NoTables", {}, 'z', -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyCodeTableTest, ZeroTablesGiveAValidTableOfMinusOnes)
{
    mLayout.addLayout(4, {});
    mLayout.select(4);
    EXPECT_EQ(initAscii2KeyCodeTable(mLayout), 0);
    EXPECT_TRUE(currentTable().valid);
    for (auto code : currentTable().keyCodes)
        EXPECT_EQ(code, -1);
}

TEST_F(KeyCodeTableTest, NegativeTableCountReadsNoTable)
{
    mLayout.addRawLayout(4, FakeKeyboardLayout::record({FakeKeyboardLayout::table({{6, 'z'}})}, -1));
    mLayout.select(4);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), -1);
}

TEST_F(KeyCodeTableTest, AResourceShorterThanItClaimsIsReadOnlyAsFarAsItGoes)
{
    mLayout.addRawLayout(4, FakeKeyboardLayout::record({FakeKeyboardLayout::table({{6, 'z'}})}, 300));
    mLayout.select(4);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), 6);
    mLayout.addRawLayout(5, {0x00, 0x01});
    mLayout.select(5);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), -1);
}

TEST_F(KeyCodeTableTest, SwitchingLayoutsRebuildsBeforeTheNextLookup)
{
    mLayout.addLayout(1, kZOnKey6);
    mLayout.addLayout(2, {FakeKeyboardLayout::table({{16, 'z'}}), FakeKeyboardLayout::table({{16, 'Z'}})});
    mLayout.select(1);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'Z'), 6);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), 6);
    EXPECT_EQ(mLayout.resourceLoads(), 1) << "the table is built once per layout";
    mLayout.select(2);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'Z'), 16);
    EXPECT_EQ(mLayout.resourceLoads(), 2);
}

TEST_F(KeyCodeTableTest, AMissingResourceIsRetriedUntilTheFirstBuild)
{
    mLayout.select(9);
    EXPECT_EQ(initAscii2KeyCodeTable(mLayout), kResourceNotFound);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), -1);
    mLayout.addLayout(9, kZOnKey6);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), 6) << "never built yet, so the next lookup tries again";
}

TEST_F(KeyCodeTableTest, AfterABuildAMissingResourceKeepsAllMinusOnesUntilTheLayoutChanges)
{
    mLayout.addLayout(1, kZOnKey6);
    mLayout.select(1);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), 6);
    mLayout.select(9); // no resource for 9
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), -1);
    const int loads = mLayout.resourceLoads();
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), -1);
    EXPECT_EQ(mLayout.resourceLoads(), loads) << "the stored id is current, so no retry";
    mLayout.select(1);
    EXPECT_EQ(keyCodeForAscii(mLayout, 'z'), 6);
}

} // namespace
