// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "VirtualKeyCodes.h"

#include <array>

namespace Platform::VirtualKeyCodes {

namespace {

struct KeyPair {
    std::uint16_t virtualKey;
    std::uint8_t xKeyCode;
};

// Modifier, media and keypad keys sit where a PC keyboard has the same key; Help is Insert,
// keypad Clear is Num Lock, Command is Super.
constexpr KeyPair kPairs[] = {
    {0x00, 38},  // A
    {0x01, 39},  // S
    {0x02, 40},  // D
    {0x03, 41},  // F
    {0x04, 43},  // H
    {0x05, 42},  // G
    {0x06, 52},  // Z
    {0x07, 53},  // X
    {0x08, 54},  // C
    {0x09, 55},  // V
    {0x0A, 94},  // ISO key beside the left shift
    {0x0B, 56},  // B
    {0x0C, 24},  // Q
    {0x0D, 25},  // W
    {0x0E, 26},  // E
    {0x0F, 27},  // R
    {0x10, 29},  // Y
    {0x11, 28},  // T
    {0x12, 10},  // 1
    {0x13, 11},  // 2
    {0x14, 12},  // 3
    {0x15, 13},  // 4
    {0x16, 15},  // 6
    {0x17, 14},  // 5
    {0x18, 21},  // =
    {0x19, 18},  // 9
    {0x1A, 16},  // 7
    {0x1B, 20},  // -
    {0x1C, 17},  // 8
    {0x1D, 19},  // 0
    {0x1E, 35},  // ]
    {0x1F, 32},  // O
    {0x20, 30},  // U
    {0x21, 34},  // [
    {0x22, 31},  // I
    {0x23, 33},  // P
    {0x24, 36},  // Return
    {0x25, 46},  // L
    {0x26, 44},  // J
    {0x27, 48},  // '
    {0x28, 45},  // K
    {0x29, 47},  // ;
    {0x2A, 51},  // backslash
    {0x2B, 59},  // ,
    {0x2C, 61},  // /
    {0x2D, 57},  // N
    {0x2E, 58},  // M
    {0x2F, 60},  // .
    {0x30, 23},  // Tab
    {0x31, 65},  // Space
    {0x32, 49},  // `
    {0x33, 22},  // Backspace
    {0x35, 9},   // Escape
    {0x36, 134}, // right Command
    {0x37, 133}, // Command
    {0x38, 50},  // Shift
    {0x39, 66},  // Caps Lock
    {0x3A, 64},  // Option
    {0x3B, 37},  // Control
    {0x3C, 62},  // right Shift
    {0x3D, 108}, // right Option
    {0x3E, 105}, // right Control
    {0x40, 195}, // F17
    {0x41, 91},  // keypad .
    {0x43, 63},  // keypad *
    {0x45, 86},  // keypad +
    {0x47, 77},  // keypad Clear
    {0x48, 123}, // volume up
    {0x49, 122}, // volume down
    {0x4A, 121}, // mute
    {0x4B, 106}, // keypad /
    {0x4C, 104}, // keypad Enter
    {0x4E, 82},  // keypad -
    {0x4F, 196}, // F18
    {0x50, 197}, // F19
    {0x51, 125}, // keypad =
    {0x52, 90},  // keypad 0
    {0x53, 87},  // keypad 1
    {0x54, 88},  // keypad 2
    {0x55, 89},  // keypad 3
    {0x56, 83},  // keypad 4
    {0x57, 84},  // keypad 5
    {0x58, 85},  // keypad 6
    {0x59, 79},  // keypad 7
    {0x5A, 198}, // F20
    {0x5B, 80},  // keypad 8
    {0x5C, 81},  // keypad 9
    {0x60, 71},  // F5
    {0x61, 72},  // F6
    {0x62, 73},  // F7
    {0x63, 69},  // F3
    {0x64, 74},  // F8
    {0x65, 75},  // F9
    {0x67, 95},  // F11
    {0x69, 191}, // F13
    {0x6A, 194}, // F16
    {0x6B, 192}, // F14
    {0x6D, 76},  // F10
    {0x6F, 96},  // F12
    {0x71, 193}, // F15
    {0x72, 118}, // Help
    {0x73, 110}, // Home
    {0x74, 112}, // Page Up
    {0x75, 119}, // forward Delete
    {0x76, 70},  // F4
    {0x77, 115}, // End
    {0x78, 68},  // F2
    {0x79, 117}, // Page Down
    {0x7A, 67},  // F1
    {0x7B, 113}, // left arrow
    {0x7C, 114}, // right arrow
    {0x7D, 116}, // down arrow
    {0x7E, 111}, // up arrow
};

// 0 marks a missing entry: X key codes start at 8.
constexpr auto kToX = [] {
    std::array<std::uint8_t, kCount> table{};
    for (const auto& pair : kPairs)
        table[pair.virtualKey] = pair.xKeyCode;
    return table;
}();

constexpr auto kFromX = [] {
    std::array<std::int16_t, 256> table{};
    table.fill(-1);
    for (const auto& pair : kPairs)
        table[pair.xKeyCode] = std::int16_t(pair.virtualKey);
    return table;
}();

} // namespace

std::optional<std::uint8_t> xKeyCode(std::uint16_t virtualKey)
{
    if (virtualKey >= kCount || kToX[virtualKey] == 0)
        return std::nullopt;
    return kToX[virtualKey];
}

std::optional<std::uint16_t> virtualKey(std::uint8_t xKeyCode)
{
    if (kFromX[xKeyCode] < 0)
        return std::nullopt;
    return std::uint16_t(kFromX[xKeyCode]);
}

} // namespace Platform::VirtualKeyCodes
