// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDI.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>

namespace Platform {

class SetupChangeNotifier;
class SourceDirectory;
namespace Jack {
class Client;
class EventQueue;
class Receiver;
} // namespace Jack

// MIDI services on a JACK server. The client is a JACK client of the given name, the virtual source
// a MIDI output port, the input port a MIDI input port; the sources are every MIDI output port of
// the graph, ours included. One client, one virtual source and one input port per object.
//
// JACK merges all connections into the one input port, so an event's source is unknown: the read
// proc gets the connRefCon that all current connections share, or none when they differ.
// An event is delivered whole, one packet per event. JACK itself refuses events longer than its
// port buffer (about 32 KiB) at the sender, so a 64 KiB message never arrives; an event that finds
// the receive queue full is dropped, counted and logged.
//
// Create, call and destroy on the main thread.
class JackMIDIServices final : public MIDIServices {
public:
    JackMIDIServices();
    ~JackMIDIServices() override;
    JackMIDIServices(const JackMIDIServices&) = delete;
    JackMIDIServices& operator=(const JackMIDIServices&) = delete;

    OSStatus MIDIClientCreate(const std::string& name, MIDINotifyProc notifyProc, void* notifyRefCon,
                              MIDIClientRef* outClient) override;
    OSStatus MIDISourceCreate(MIDIClientRef client, const std::string& name,
                              MIDIEndpointRef* outSource) override;
    OSStatus MIDIInputPortCreate(MIDIClientRef client, const std::string& portName, MIDIReadProc readProc,
                                 void* refCon, MIDIPortRef* outPort) override;
    ItemCount MIDIGetNumberOfSources() override;
    MIDIEndpointRef MIDIGetSource(ItemCount sourceIndex0) override;
    OSStatus MIDIPortConnectSource(MIDIPortRef port, MIDIEndpointRef source, void* connRefCon) override;
    OSStatus MIDIPortDisconnectSource(MIDIPortRef port, MIDIEndpointRef source) override;
    OSStatus MIDIEndpointDispose(MIDIEndpointRef endpoint) override;
    OSStatus MIDIClientDispose(MIDIClientRef client) override;

    // Incoming events lost so far: the receive queue was full, or an event exceeded a packet.
    std::uint64_t droppedEventCount() const;

private:
    bool isOurClient(MIDIClientRef client) const;
    void updateDeliveredConnRefCon();
    void tearDown();

    std::unique_ptr<Jack::EventQueue> mQueue;
    std::unique_ptr<Jack::Client> mClient;
    std::unique_ptr<SetupChangeNotifier> mNotifier;
    std::unique_ptr<Jack::Receiver> mReceiver;
    std::unique_ptr<SourceDirectory> mSources;
    MIDIEndpointRef mVirtualSource = 0;
    std::map<MIDIEndpointRef, void*> mConnRefCons;
    std::atomic<void*> mDeliveredConnRefCon{nullptr};
};

} // namespace Platform
