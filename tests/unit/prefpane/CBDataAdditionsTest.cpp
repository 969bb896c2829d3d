// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CBDataAdditions.h"

#include <gtest/gtest.h>

#include <ostream>

using Platform::PlistData;

namespace {

struct TextCase {
    const char* name;
    PlistData bytes;
    std::string text;

    friend void PrintTo(const TextCase& row, std::ostream* os) { *os << row.name; }
};

class SysexStringValue : public testing::TestWithParam<TextCase> {};

TEST_P(SysexStringValue, GivesThreeCharactersPerByte)
{
    EXPECT_EQ(CBDataAdditions::sysexStringValue(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, SysexStringValue,
                         testing::Values(TextCase{"Empty", {}, ""},
                                         TextCase{"Message", {0xF0, 0x7D, 0x01, 0xF7}, "F0 7D 01 F7 "},
                                         TextCase{"LeadingZeroNibbles", {0x00, 0x0A, 0xA0}, "00 0A A0 "},
                                         TextCase{"AllBitsSet", {0xFF}, "FF "}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SysexStringValue, RoundTripsEveryByteValue)
{
    PlistData all;
    for (int value = 0; value < 256; ++value)
        all.push_back(static_cast<std::uint8_t>(value));

    const std::string text = CBDataAdditions::sysexStringValue(all);
    EXPECT_EQ(text.size(), 3 * all.size());
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(CBDataAdditions::dataWithSysexString(text), all);
}

struct ParseCase {
    const char* name;
    std::optional<std::string> text;
    PlistData bytes;

    friend void PrintTo(const ParseCase& row, std::ostream* os) { *os << row.name; }
};

class DataWithSysexString : public testing::TestWithParam<ParseCase> {};

TEST_P(DataWithSysexString, ParsesPairsOfCharacters)
{
    EXPECT_EQ(CBDataAdditions::dataWithSysexString(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DataWithSysexString,
    testing::Values(
        ParseCase{"None", std::nullopt, {}}, ParseCase{"Empty", "", {}}, ParseCase{"SpacesOnly", "     ", {}},
        ParseCase{"TextForm", "F0 7D 01 F7 ", {0xF0, 0x7D, 0x01, 0xF7}},
        ParseCase{"LowerCase", "f07d01f7", {0xF0, 0x7D, 0x01, 0xF7}},
        ParseCase{"UpperCase", "F07D01F7", {0xF0, 0x7D, 0x01, 0xF7}},
        ParseCase{"SpacedWithoutTrailingSpace", "F0 7D 01 F7", {0xF0, 0x7D, 0x01, 0xF7}},
        ParseCase{"SpacesDoNotDelimitBytes", "F0 7D 1 F7", {0xF0, 0x7D, 0x1F, 0x70}},
        ParseCase{"LoneDigitIsHighNibble", "7", {0x70}}, ParseCase{"LoneLetter", "F", {0xF0}},
        ParseCase{"OddLengthPadsLastByte", "ABC", {0xAB, 0xC0}}, ParseCase{"LetterBeyondF", "G0", {0x00}},
        ParseCase{"LowerCaseBeyondF", "z1", {0x31}}, ParseCase{"Punctuation", "!0", {0x10}},
        // Tab (9) and line feed (10) are paired like digits: 16 * (9 - 48) + (10 - 48) wraps to 6A.
        ParseCase{"TabAndNewlinePaired", "\t\n", {0x6A}},
        ParseCase{"NewlineInsideMessage", "F0\n7", {0xF0, 0xA7}},
        // É is one character, U+00C9, not two UTF-8 bytes: 16 * (0xC9 - 55) wraps to 20.
        ParseCase{"NonAsciiIsOneCharacter", "é0", {0x20}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
