// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/LaunchServices.h" // OSStatus
#include "Platform/MIDIPacketList.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Platform {

using MIDIObjectRef = std::uint32_t;
using MIDIClientRef = MIDIObjectRef;
using MIDIPortRef = MIDIObjectRef;
using MIDIEndpointRef = MIDIObjectRef;
using ItemCount = unsigned long;

inline constexpr std::int32_t kMIDIMsgSetupChanged = 1;
inline constexpr OSStatus kMIDIServerStartErr = -10844;
inline constexpr OSStatus kMIDIInvalidClient = -10830;
inline constexpr OSStatus kMIDIInvalidPort = -10831;
inline constexpr OSStatus kMIDIUnknownEndpoint = -10833;

struct MIDINotification {
    std::int32_t messageID;
    std::uint32_t messageSize;
};

// Called on the receive thread, never inside a real-time callback.
using MIDIReadProc = void (*)(const MIDIPacketList* packetList, void* readProcRefCon, void* srcConnRefCon);
// Called on the main thread.
using MIDINotifyProc = void (*)(const MIDINotification* message, void* refCon);

// The MIDI services: one client with virtual sources and input ports, the machine's sources,
// and a setup-changed notification whenever sources come or go (our own included).
class MIDIServices {
public:
    virtual ~MIDIServices() = default;

    virtual OSStatus MIDIClientCreate(const std::string& name, MIDINotifyProc notifyProc, void* notifyRefCon,
                                      MIDIClientRef* outClient) = 0;
    virtual OSStatus MIDISourceCreate(MIDIClientRef client, const std::string& name, MIDIEndpointRef* outSource) = 0;
    virtual OSStatus MIDIInputPortCreate(MIDIClientRef client, const std::string& portName, MIDIReadProc readProc,
                                         void* refCon, MIDIPortRef* outPort) = 0;
    virtual ItemCount MIDIGetNumberOfSources() = 0;
    virtual MIDIEndpointRef MIDIGetSource(ItemCount sourceIndex0) = 0;
    virtual OSStatus MIDIPortConnectSource(MIDIPortRef port, MIDIEndpointRef source, void* connRefCon) = 0;
    virtual OSStatus MIDIPortDisconnectSource(MIDIPortRef port, MIDIEndpointRef source) = 0;
    virtual OSStatus MIDIEndpointDispose(MIDIEndpointRef endpoint) = 0;
    virtual OSStatus MIDIClientDispose(MIDIClientRef client) = 0;
};

// JACK when a server is reachable, else the ALSA sequencer; never both, since a bridge between
// them would deliver every message twice. Logs which one it chose.
std::unique_ptr<MIDIServices> openMIDIServices();

} // namespace Platform
