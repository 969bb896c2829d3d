// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "VirtualKeyCodes.h"

#include <gtest/gtest.h>

namespace {

using namespace Platform;

struct KnownKey {
    const char* name;
    std::uint16_t virtualKey;
    std::uint8_t xKeyCode;
};

void PrintTo(const KnownKey& key, std::ostream* out)
{
    *out << key.name;
}

class VirtualKeyCodesKnownKey : public testing::TestWithParam<KnownKey> {};

TEST_P(VirtualKeyCodesKnownKey, MapsBothWays)
{
    const KnownKey& key = GetParam();
    EXPECT_EQ(VirtualKeyCodes::xKeyCode(key.virtualKey), key.xKeyCode) << key.name;
    EXPECT_EQ(VirtualKeyCodes::virtualKey(key.xKeyCode), key.virtualKey) << key.name;
}

INSTANTIATE_TEST_SUITE_P(
    AnsiKeys, VirtualKeyCodesKnownKey,
    testing::Values(KnownKey{"A", 0, 38}, KnownKey{"S", 1, 39}, KnownKey{"D", 2, 40}, KnownKey{"Z", 6, 52},
                    KnownKey{"X", 7, 53}, KnownKey{"C", 8, 54}, KnownKey{"R", 15, 27}, KnownKey{"Y", 16, 29},
                    KnownKey{"Digit1", 18, 10}, KnownKey{"Digit0", 29, 19}, KnownKey{"Return", 36, 36},
                    KnownKey{"Tab", 48, 23}, KnownKey{"Space", 49, 65}, KnownKey{"Backspace", 51, 22},
                    KnownKey{"Escape", 53, 9}, KnownKey{"F1", 122, 67}, KnownKey{"F12", 111, 96},
                    KnownKey{"Left", 123, 113}, KnownKey{"Right", 124, 114}, KnownKey{"Down", 125, 116},
                    KnownKey{"Up", 126, 111}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VirtualKeyCodes, EveryMappedKeyMapsBackToItself)
{
    int mapped = 0;
    for (std::uint16_t vk = 0; vk < VirtualKeyCodes::kCount; ++vk)
        if (const auto x = VirtualKeyCodes::xKeyCode(vk)) {
            ++mapped;
            EXPECT_GE(*x, 8) << vk;
            EXPECT_EQ(VirtualKeyCodes::virtualKey(*x), vk) << "two virtual keys share X key " << int(*x);
        }
    EXPECT_GE(mapped, 100);
}

TEST(VirtualKeyCodes, UnknownCodesHaveNoCounterpart)
{
    for (std::uint16_t vk : {0x34, 0x7F, 0x80, 0xFFFF})
        EXPECT_FALSE(VirtualKeyCodes::xKeyCode(vk)) << vk;
    for (std::uint8_t x : {0, 7, 255})
        EXPECT_FALSE(VirtualKeyCodes::virtualKey(x)) << int(x);
}

} // namespace
