// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDI.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace Platform {

// Endpoint handles for the machine's sources, each named by a backend key (a JACK port name, an
// ALSA "client:port" address). A handle stays the same while its source exists; a source that
// disappears and comes back gets a new one. Used on the main thread only.
class SourceDirectory {
public:
    // Takes these sources, in this order, as the current list; forgets the handles of the others.
    void update(const std::vector<std::string>& keys);
    std::size_t count() const { return mListed.size(); }
    // The handle at this position of the current list; none past its end.
    std::optional<MIDIEndpointRef> at(std::size_t index) const;

    MIDIEndpointRef refFor(const std::string& key);
    std::optional<std::string> keyOf(MIDIEndpointRef ref) const;

private:
    std::map<std::string, MIDIEndpointRef> mRefsByKey;
    std::map<MIDIEndpointRef, std::string> mKeysByRef;
    std::vector<MIDIEndpointRef> mListed;
    MIDIEndpointRef mNextRef = 1;
};

} // namespace Platform
