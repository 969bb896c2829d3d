// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/KeyboardLayout.h"

#include <array>
#include <cstdint>

// Character code to virtual key code on the current keyboard layout, through a 256-entry table
// built from the layout resource on first use and rebuilt whenever the layout changes.
namespace PLXKeyCodeAdditions {

inline constexpr std::int16_t kResourceNotFound = -192; // resNotFound

struct Ascii2KeyCodeTable {
    bool valid = false;
    std::int16_t layoutID = 0;
    std::array<std::int16_t, 256> keyCodes{}; // -1: no key of the layout types the character
};

// Built from the current layout: 0, or kResourceNotFound when the layout resource is missing.
std::int16_t initAscii2KeyCodeTable(Platform::KeyboardLayoutResources& layouts);
// 0 when the table is current, otherwise the result of the rebuild.
std::int16_t validateAscii2KeyCodeTable(Platform::KeyboardLayoutResources& layouts);
// The virtual key code typing ch, -1 when no key types it, 0 for characters above 255.
std::int16_t keyCodeForAscii(Platform::KeyboardLayoutResources& layouts, std::int16_t ch);

// The process-wide table; only the MIDI receive thread uses it.
const Ascii2KeyCodeTable& currentTable();
void resetTableForTesting();

} // namespace PLXKeyCodeAdditions
