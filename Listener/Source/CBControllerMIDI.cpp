// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// MIDI input: the client, the virtual source and the input port; connections rebuilt on every
// setup change; each packet matched against the mappings and dispatched to a transport action.
#include "CBController.h"

#include <algorithm>
#include <array>

using namespace Platform;

namespace {

constexpr std::uint8_t kEndOfExclusive = 0xF7;

// A packet is compared as it would be with 0xF7 appended when it lacks one; comparing in place
// keeps the receive path free of allocations.
bool sysexEqualsCandidate(const PlistData& sysex, std::span<const std::uint8_t> packet)
{
    const bool appendEnd = packet.empty() || packet.back() != kEndOfExclusive;
    if (sysex.size() != packet.size() + (appendEnd ? 1 : 0))
        return false;
    if (!std::equal(packet.begin(), packet.end(), sysex.begin()))
        return false;
    return !appendEnd || sysex.back() == kEndOfExclusive;
}

const PlistData* sysexOf(const PlistValue& record)
{
    const auto* dictionary = record.getIf<PlistDictionary>();
    if (!dictionary)
        return nullptr;
    auto it = dictionary->find("sysex");
    return it == dictionary->end() ? nullptr : it->second.getIf<PlistData>();
}

} // namespace

void readProc(const MIDIPacketList* packetList, void* readProcRefCon, void* srcConnRefCon)
{
    if (CBController* controller = CBController::liveInstance())
        controller->midiReadProcWithPacketList(packetList, readProcRefCon, srcConnRefCon);
}

void midiNotifyProc(const MIDINotification* message, void*)
{
    if (message->messageID != kMIDIMsgSetupChanged)
        return;
    if (CBController* controller = CBController::liveInstance())
        controller->MIDIUpdateConnections();
}

OSStatus CBController::MIDISetup()
{
    OSStatus status = mServices.midi.MIDIClientCreate("CBMIDI", midiNotifyProc, nullptr, &mMIDIClient);
    if (status != noErr)
        return status;
    // Creating the source changes the setup; the notification that follows makes the first connections.
    status = mServices.midi.MIDISourceCreate(mMIDIClient, "Cuebolt", &mMIDIVirtualSource);
    if (status != noErr)
        return status;
    return mServices.midi.MIDIInputPortCreate(mMIDIClient, "Input port", readProc, nullptr, &mMIDIInPort);
}

void CBController::MIDIConnectToSources()
{
    const ItemCount count = mServices.midi.MIDIGetNumberOfSources();
    for (ItemCount i = 0; i < count; ++i) {
        const MIDIEndpointRef source = mServices.midi.MIDIGetSource(i);
        mServices.midi.MIDIPortConnectSource(mMIDIInPort, source, nullptr);
        mMIDISources.push_back(source);
    }
}

void CBController::MIDIDisconnectFromSources()
{
    for (MIDIEndpointRef source : mMIDISources)
        mServices.midi.MIDIPortDisconnectSource(mMIDIInPort, source);
    mMIDISources.clear();
}

void CBController::MIDIUpdateConnections()
{
    MIDIDisconnectFromSources();
    MIDIConnectToSources();
}

void CBController::MIDITearDown()
{
    MIDIDisconnectFromSources();
    if (mMIDIVirtualSource)
        mServices.midi.MIDIEndpointDispose(mMIDIVirtualSource);
    if (mMIDIClient)
        mServices.midi.MIDIClientDispose(mMIDIClient);
    mMIDIVirtualSource = 0;
    mMIDIClient = 0;
    mMIDIInPort = 0;
}

void CBController::midiReadProcWithPacketList(const MIDIPacketList* packetList, void*, void*)
{
    if (!mGarageBandIsRunning.load(std::memory_order_relaxed))
        return;

    using Action = void (CBController::*)(const void*);
    static constexpr std::array<Action, 6> actions = {&CBController::sendZero,    &CBController::sendRewind,
                                                      &CBController::sendStartStop, &CBController::sendForward,
                                                      &CBController::sendLoop,    &CBController::sendRecord};

    const MappingList mappings = this->mappings(); // whole old or whole new list, kept alive for the walk
    if (!mappings)
        return;
    MIDIPacketListWalker(*packetList).forEachPacket([&](const MIDIPacket& packet) {
        for (std::size_t j = 0; j < mappings->size(); ++j) {
            const PlistData* sysex = sysexOf((*mappings)[j]);
            if (!sysex || !sysexEqualsCandidate(*sysex, packet.data))
                continue;
            if (j < actions.size())
                (this->*actions[j])(this);
            break; // the first equal record decides, even when it is beyond the six actions
        }
    });
}
