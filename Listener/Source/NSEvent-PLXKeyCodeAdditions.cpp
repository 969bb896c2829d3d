// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "NSEvent-PLXKeyCodeAdditions.h"

#include <cstddef>

namespace PLXKeyCodeAdditions {

namespace {

Ascii2KeyCodeTable gAscii2KeyCodeTable;

constexpr std::size_t kTableCountOffset = 258;
constexpr std::size_t kTablesOffset = 260;
constexpr std::size_t kTableSize = 128;

std::int16_t currentLayoutID(Platform::KeyboardLayoutResources& layouts)
{
    return std::int16_t(layouts.GetScriptVariable(Platform::smCurrentScript, Platform::smScriptKeys));
}

} // namespace

std::int16_t initAscii2KeyCodeTable(Platform::KeyboardLayoutResources& layouts)
{
    auto& table = gAscii2KeyCodeTable;
    table.keyCodes.fill(-1);
    table.layoutID = currentLayoutID(layouts);
    const auto resource = layouts.GetResource(Platform::kKCHRResourceType, table.layoutID);
    if (!resource)
        return kResourceNotFound;

    const auto& bytes = *resource;
    const int claimedTables =
        bytes.size() >= kTablesOffset ? std::int16_t((bytes[kTableCountOffset] << 8) | bytes[kTableCountOffset + 1]) : 0;
    // A resource shorter than it claims yields only the tables it really holds.
    const std::size_t tablesPresent = bytes.size() >= kTablesOffset ? (bytes.size() - kTablesOffset) / kTableSize : 0;
    const std::size_t tableCount = claimedTables > 0 ? std::min<std::size_t>(std::size_t(claimedTables), tablesPresent) : 0;
    for (std::size_t t = 0; t < tableCount; ++t) {
        for (std::size_t k = 0; k < kTableSize; ++k) {
            const std::uint8_t character = bytes[kTablesOffset + t * kTableSize + k];
            if (table.keyCodes[character] == -1)
                table.keyCodes[character] = std::int16_t(k);
        }
    }
    table.valid = true;
    return 0;
}

std::int16_t validateAscii2KeyCodeTable(Platform::KeyboardLayoutResources& layouts)
{
    if (gAscii2KeyCodeTable.valid && currentLayoutID(layouts) == gAscii2KeyCodeTable.layoutID)
        return 0;
    return initAscii2KeyCodeTable(layouts);
}

std::int16_t keyCodeForAscii(Platform::KeyboardLayoutResources& layouts, std::int16_t ch)
{
    validateAscii2KeyCodeTable(layouts);
    const auto index = std::uint16_t(ch);
    if (index > 255)
        return 0;
    return gAscii2KeyCodeTable.keyCodes[index];
}

const Ascii2KeyCodeTable& currentTable() { return gAscii2KeyCodeTable; }

void resetTableForTesting() { gAscii2KeyCodeTable = Ascii2KeyCodeTable{}; }

} // namespace PLXKeyCodeAdditions
