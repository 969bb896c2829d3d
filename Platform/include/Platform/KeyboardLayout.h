// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace Platform {

inline constexpr std::int16_t smCurrentScript = -2;
inline constexpr std::int16_t smScriptKeys = 32;
inline constexpr std::uint32_t kKCHRResourceType = 0x4B434852; // 'KCHR'

// The current keyboard layout as the classic layout resource: big-endian, a 2-byte version,
// a 256-byte modifier map, a signed 16-bit table count N at offset 258, then N tables of 128
// bytes, table t byte k = the character virtual key code k types in table t.
class KeyboardLayoutResources {
public:
    virtual ~KeyboardLayoutResources() = default;
    // With smCurrentScript and smScriptKeys: the current layout's id, which changes whenever
    // the keymap or its active group changes.
    virtual long GetScriptVariable(std::int16_t script, std::int16_t selector) = 0;
    // The layout resource of that type and id, or none.
    virtual std::optional<std::vector<std::uint8_t>> GetResource(std::uint32_t type, std::int16_t id) = 0;
};

} // namespace Platform
