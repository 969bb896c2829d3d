// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDI.h"

namespace Platform {

// A services object has one client and one input port; their handles sit far above the endpoint
// handles, which count up from 1, so no handle names two objects.
inline constexpr MIDIClientRef kOurClientRef = 0x80000001;
inline constexpr MIDIPortRef kOurInputPortRef = 0x80000002;

} // namespace Platform
