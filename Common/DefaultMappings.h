// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <array>

// The six default mappings both the listener and the pane write when nothing is stored: each the
// four-byte message F0 7D <n> F7 (7D is the manufacturer id reserved for non-commercial use).
namespace DefaultMappings {

inline constexpr std::array<const char*, 6> kFunctionNames = {"transport-zero", "transport-rew", "transport-play",
                                                              "transport-ff",   "transport-loop", "transport-rec"};

inline Platform::PlistArray records()
{
    Platform::PlistArray records;
    for (std::size_t i = 0; i < kFunctionNames.size(); ++i) {
        const Platform::PlistData sysex = {0xF0, 0x7D, std::uint8_t(i + 1), 0xF7};
        records.push_back(Platform::PlistDictionary{{"function", kFunctionNames[i]}, {"sysex", sysex}});
    }
    return records;
}

} // namespace DefaultMappings
