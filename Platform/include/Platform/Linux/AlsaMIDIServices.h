// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDI.h"

#include <memory>
#include <optional>

namespace Platform {

class SetupChangeNotifier;
class SourceDirectory;
namespace Alsa {
class ConnRefCons;
class Receiver;
class Sequencer;
} // namespace Alsa

// MIDI services on the ALSA sequencer. The client is a sequencer client of the given name, the
// virtual source a READ|SUBS_READ port, the input port a WRITE|SUBS_WRITE port; the sources are
// every readable, subscribable port outside the System client, ours included.
//
// One receive thread of ours reads every event of the sequencer: System:Announce events about
// clients and ports wake the setup-change check on the main thread, events for the input port go
// to the read proc. ALSA delivers a long sysex message in pieces; each piece is its own packet.
//
// Create, call and destroy on the main thread.
class AlsaMIDIServices final : public MIDIServices {
public:
    AlsaMIDIServices();
    ~AlsaMIDIServices() override;
    AlsaMIDIServices(const AlsaMIDIServices&) = delete;
    AlsaMIDIServices& operator=(const AlsaMIDIServices&) = delete;

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

private:
    bool isOurClient(MIDIClientRef client) const;
    void startReceiver();
    void tearDown();

    std::unique_ptr<Alsa::Sequencer> mSequencer;
    std::unique_ptr<SourceDirectory> mSources;
    std::unique_ptr<Alsa::ConnRefCons> mConnRefCons;
    std::unique_ptr<SetupChangeNotifier> mNotifier;
    std::unique_ptr<Alsa::Receiver> mReceiver;
    std::optional<int> mVirtualSourcePort;
    MIDIEndpointRef mVirtualSource = 0;
    std::optional<int> mInputPort;
    MIDIReadProc mReadProc = nullptr;
    void* mReadRefCon = nullptr;
};

} // namespace Platform
