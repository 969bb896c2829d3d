// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <cstdint>
#include <vector>

struct xkb_keymap;

namespace Platform {

// The classic layout record of one group of an XKB keymap: table t holds shift level t, byte k the
// Latin-1 character the key with virtual key code k types there (0 for none). At least two tables.
std::vector<std::uint8_t> classicLayoutRecord(xkb_keymap* keymap, std::uint32_t group);

} // namespace Platform
