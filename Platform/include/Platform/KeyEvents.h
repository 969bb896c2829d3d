// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <cstdint>

namespace Platform {

using CGError = std::int32_t;
using CGCharCode = std::uint16_t;
using CGKeyCode = std::uint16_t;
inline constexpr CGError kCGErrorSuccess = 0;
inline constexpr CGError kCGErrorFailure = 1000;

// Posts key events to the window server, as typed on the keyboard, to the focused window.
// Virtual key codes are the classic ones (space 49, left 123, right 124, Z 6 on a US layout).
class KeyEventPoster {
public:
    virtual ~KeyEventPoster() = default;
    virtual CGError CGPostKeyboardEvent(CGCharCode keyChar, CGKeyCode virtualKey, bool keyDown) = 0;
};

} // namespace Platform
