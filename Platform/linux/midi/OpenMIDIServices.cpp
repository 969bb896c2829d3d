// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/AlsaMIDIServices.h"
#include "Platform/Linux/JackMIDIServices.h"
#include "Platform/Log.h"
#include "Platform/MIDI.h"
#include "jack/JackClient.h"

namespace Platform {

std::unique_ptr<MIDIServices> openMIDIServices()
{
    const std::string server = Jack::serverName();
    if (Jack::serverReachable()) {
        NSLog("using the JACK server '" + server + "' for MIDI");
        return std::make_unique<JackMIDIServices>();
    }
    NSLog("cannot reach the JACK server '" + server + "'; using the ALSA sequencer");
    return std::make_unique<AlsaMIDIServices>();
}

} // namespace Platform
