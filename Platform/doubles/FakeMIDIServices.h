// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDI.h"

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace Doubles {

// MIDI services in memory: the test adds and removes sources, delivers setup changes (as the
// platform does on the main thread) and injects packet lists from a source.
class FakeMIDIServices : public Platform::MIDIServices {
public:
    using OSStatus = Platform::OSStatus;

    OSStatus MIDIClientCreate(const std::string& name, Platform::MIDINotifyProc notifyProc, void* notifyRefCon,
                              Platform::MIDIClientRef* outClient) override;
    OSStatus MIDISourceCreate(Platform::MIDIClientRef client, const std::string& name,
                              Platform::MIDIEndpointRef* outSource) override;
    OSStatus MIDIInputPortCreate(Platform::MIDIClientRef client, const std::string& portName,
                                 Platform::MIDIReadProc readProc, void* refCon, Platform::MIDIPortRef* outPort) override;
    Platform::ItemCount MIDIGetNumberOfSources() override;
    Platform::MIDIEndpointRef MIDIGetSource(Platform::ItemCount sourceIndex0) override;
    OSStatus MIDIPortConnectSource(Platform::MIDIPortRef port, Platform::MIDIEndpointRef source,
                                   void* connRefCon) override;
    OSStatus MIDIPortDisconnectSource(Platform::MIDIPortRef port, Platform::MIDIEndpointRef source) override;
    OSStatus MIDIEndpointDispose(Platform::MIDIEndpointRef endpoint) override;
    OSStatus MIDIClientDispose(Platform::MIDIClientRef client) override;

    // A source of another application; returns its handle.
    Platform::MIDIEndpointRef addSource(const std::string& name);
    void removeSource(Platform::MIDIEndpointRef source);
    // Calls the client's notification callback with the given message id.
    void deliverNotification(std::int32_t messageID = Platform::kMIDIMsgSetupChanged);
    // Delivers a packet list from a source to the input port, if that source is connected.
    void inject(Platform::MIDIEndpointRef source, const Platform::MIDIPacketList& list);

    std::set<Platform::MIDIEndpointRef> connectedSources() const;
    std::string nameOf(Platform::MIDIEndpointRef endpoint) const;
    std::vector<std::string> calls() const; // "ClientCreate CBMIDI", "Connect 3", ...
    bool clientAlive() const { return mClient != 0; }

    OSStatus failClientCreate = Platform::noErr;
    OSStatus failSourceCreate = Platform::noErr;
    OSStatus failPortCreate = Platform::noErr;

private:
    void record(std::string call);

    mutable std::mutex mMutex;
    Platform::MIDIObjectRef mNextRef = 1;
    Platform::MIDIClientRef mClient = 0;
    Platform::MIDINotifyProc mNotifyProc = nullptr;
    void* mNotifyRefCon = nullptr;
    Platform::MIDIPortRef mPort = 0;
    Platform::MIDIReadProc mReadProc = nullptr;
    void* mReadRefCon = nullptr;
    std::vector<std::pair<Platform::MIDIEndpointRef, std::string>> mSources;
    std::map<Platform::MIDIEndpointRef, void*> mConnections;
    std::vector<std::string> mCalls;
};

} // namespace Doubles
