// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <cstdint>
#include <optional>

// The classic virtual key codes of the ANSI keyboard and the X key codes (evdev + 8) of the same
// physical keys.
namespace Platform::VirtualKeyCodes {

// Virtual key codes run from 0 to 127.
inline constexpr std::uint16_t kCount = 128;

std::optional<std::uint8_t> xKeyCode(std::uint16_t virtualKey);
std::optional<std::uint16_t> virtualKey(std::uint8_t xKeyCode);

} // namespace Platform::VirtualKeyCodes
