// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/PropertyList.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

struct DescriptionCase {
    const char* name;
    PlistValue value;
    std::string expected;
};

TEST(PlistDescription, MatchesThePlatformsOneLineForm)
{
    const std::vector<DescriptionCase> cases = {
        {"plain word", "loginwindow", "loginwindow"},
        {"every unquoted punctuation", "a_b.c$d:e/f9", "a_b.c$d:e/f9"},
        {"hyphen quotes", "transport-zero", "\"transport-zero\""},
        {"space quotes", "two words", "\"two words\""},
        {"empty string quotes", "", "\"\""},
        {"escapes", "say \"hi\"\\\n", "\"say \\\"hi\\\"\\\\\\n\""},
        {"non-ascii quotes", "caf\xc3\xa9", "\"caf\xc3\xa9\""},
        {"data", PlistData{0xf0, 0x7d, 0x01, 0xf7}, "<f07d01f7>"},
        {"data with high nibbles", PlistData{0x0a, 0xff, 0x00}, "<0aff00>"},
        {"empty data", PlistData{}, "<>"},
        {"integer", 42, "42"},
        {"negative integer", -7, "-7"},
        {"real", 0.5, "0.5"},
        {"whole real", 3.0, "3"},
        {"true", true, "1"},
        {"false", false, "0"},
        {"date", PlistDate(std::chrono::seconds(978307200)), "\"2001-01-01 00:00:00 +0000\""},
        {"array", PlistArray{"a", "b c", 1}, "(a, \"b c\", 1)"},
        {"empty array", PlistArray{}, "()"},
        {"empty dictionary", PlistDictionary{}, "{}"},
        {"mapping record",
         PlistDictionary{{"sysex", PlistData{0xf0, 0x7d, 0x01, 0xf7}}, {"function", "transport-zero"}},
         "{function = \"transport-zero\"; sysex = <f07d01f7>; }"},
        {"keys sorted and quoted", PlistDictionary{{"b", 1}, {"a key", 2}, {"A", 3}},
         "{A = 3; \"a key\" = 2; b = 1; }"},
        {"nested", PlistArray{PlistDictionary{{"k", PlistArray{}}}, PlistArray{true}}, "({k = (); }, (1))"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value.description(), c.expected) << c.name;
}

} // namespace
