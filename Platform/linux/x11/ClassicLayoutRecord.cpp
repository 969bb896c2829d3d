// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ClassicLayoutRecord.h"

#include "VirtualKeyCodes.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <optional>

namespace Platform {

namespace {

constexpr std::size_t kTableCountOffset = 258;
constexpr std::size_t kTablesOffset = 260;
constexpr std::size_t kTableSize = VirtualKeyCodes::kCount;
constexpr xkb_level_index_t kMinimumTables = 2;

// A group beyond a key's own groups wraps around, as the server does for such keys.
std::optional<xkb_layout_index_t> groupOfKey(xkb_keymap* keymap, xkb_keycode_t key, std::uint32_t group)
{
    const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(keymap, key);
    if (groups == 0)
        return std::nullopt;
    return group % groups;
}

std::uint8_t latin1Character(xkb_keymap* keymap, xkb_keycode_t key, xkb_layout_index_t group,
                             xkb_level_index_t level)
{
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap, key, group, level, &syms) < 1)
        return 0;
    const std::uint32_t character = xkb_keysym_to_utf32(syms[0]);
    return character <= 0xFF ? std::uint8_t(character) : 0;
}

} // namespace

std::vector<std::uint8_t> classicLayoutRecord(xkb_keymap* keymap, std::uint32_t group)
{
    xkb_level_index_t tables = kMinimumTables;
    for (std::uint16_t vk = 0; vk < VirtualKeyCodes::kCount; ++vk) {
        const auto key = VirtualKeyCodes::xKeyCode(vk);
        if (const auto keyGroup = key ? groupOfKey(keymap, *key, group) : std::nullopt)
            tables = std::max(tables, xkb_keymap_num_levels_for_key(keymap, *key, *keyGroup));
    }

    std::vector<std::uint8_t> record(kTablesOffset + tables * kTableSize, 0);
    record[kTableCountOffset] = std::uint8_t(tables >> 8);
    record[kTableCountOffset + 1] = std::uint8_t(tables);
    for (std::uint16_t vk = 0; vk < VirtualKeyCodes::kCount; ++vk) {
        const auto key = VirtualKeyCodes::xKeyCode(vk);
        const auto keyGroup = key ? groupOfKey(keymap, *key, group) : std::nullopt;
        if (!keyGroup)
            continue;
        for (xkb_level_index_t level = 0; level < tables; ++level)
            record[kTablesOffset + level * kTableSize + vk] = latin1Character(keymap, *key, *keyGroup, level);
    }
    return record;
}

} // namespace Platform
