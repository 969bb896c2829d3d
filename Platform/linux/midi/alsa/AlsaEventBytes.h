// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <alsa/asoundlib.h>
#include <cstdint>
#include <vector>

namespace Platform::Alsa {

// The MIDI bytes a sequencer event stands for: a sysex event (or a piece of a long one) as its
// bytes, a channel or system message in its wire form without running status; nothing for events
// that are not MIDI, such as announcements.
std::vector<std::uint8_t> alsaEventToMIDIBytes(const snd_seq_event_t& event);

} // namespace Platform::Alsa
