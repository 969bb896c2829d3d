// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "FakeMIDIServices.h"

#include <algorithm>

namespace Doubles {

using namespace Platform;

void FakeMIDIServices::record(std::string call) { mCalls.push_back(std::move(call)); }

OSStatus FakeMIDIServices::MIDIClientCreate(const std::string& name, MIDINotifyProc notifyProc, void* notifyRefCon,
                                            MIDIClientRef* outClient)
{
    std::lock_guard lock(mMutex);
    record("ClientCreate " + name);
    if (failClientCreate != noErr)
        return failClientCreate;
    mClient = mNextRef++;
    mNotifyProc = notifyProc;
    mNotifyRefCon = notifyRefCon;
    *outClient = mClient;
    return noErr;
}

OSStatus FakeMIDIServices::MIDISourceCreate(MIDIClientRef client, const std::string& name, MIDIEndpointRef* outSource)
{
    std::lock_guard lock(mMutex);
    record("SourceCreate " + name);
    if (failSourceCreate != noErr)
        return failSourceCreate;
    if (client != mClient || client == 0)
        return kMIDIInvalidClient;
    *outSource = mNextRef++;
    mSources.emplace_back(*outSource, name);
    return noErr;
}

OSStatus FakeMIDIServices::MIDIInputPortCreate(MIDIClientRef client, const std::string& portName,
                                               MIDIReadProc readProc, void* refCon, MIDIPortRef* outPort)
{
    std::lock_guard lock(mMutex);
    record("InputPortCreate " + portName);
    if (failPortCreate != noErr)
        return failPortCreate;
    if (client != mClient || client == 0)
        return kMIDIInvalidClient;
    mPort = mNextRef++;
    mReadProc = readProc;
    mReadRefCon = refCon;
    *outPort = mPort;
    return noErr;
}

ItemCount FakeMIDIServices::MIDIGetNumberOfSources()
{
    std::lock_guard lock(mMutex);
    return mSources.size();
}

MIDIEndpointRef FakeMIDIServices::MIDIGetSource(ItemCount sourceIndex0)
{
    std::lock_guard lock(mMutex);
    return sourceIndex0 < mSources.size() ? mSources[sourceIndex0].first : 0;
}

OSStatus FakeMIDIServices::MIDIPortConnectSource(MIDIPortRef port, MIDIEndpointRef source, void* connRefCon)
{
    std::lock_guard lock(mMutex);
    record("Connect " + std::to_string(source));
    if (port == 0 || port != mPort)
        return kMIDIInvalidPort;
    if (std::none_of(mSources.begin(), mSources.end(), [&](const auto& s) { return s.first == source; }))
        return kMIDIUnknownEndpoint;
    mConnections[source] = connRefCon;
    return noErr;
}

OSStatus FakeMIDIServices::MIDIPortDisconnectSource(MIDIPortRef port, MIDIEndpointRef source)
{
    std::lock_guard lock(mMutex);
    record("Disconnect " + std::to_string(source));
    if (port == 0 || port != mPort)
        return kMIDIInvalidPort;
    return mConnections.erase(source) ? noErr : kMIDIUnknownEndpoint;
}

OSStatus FakeMIDIServices::MIDIEndpointDispose(MIDIEndpointRef endpoint)
{
    std::lock_guard lock(mMutex);
    record("EndpointDispose " + std::to_string(endpoint));
    auto it = std::find_if(mSources.begin(), mSources.end(), [&](const auto& s) { return s.first == endpoint; });
    if (it == mSources.end())
        return kMIDIUnknownEndpoint;
    mSources.erase(it);
    mConnections.erase(endpoint);
    return noErr;
}

OSStatus FakeMIDIServices::MIDIClientDispose(MIDIClientRef client)
{
    std::lock_guard lock(mMutex);
    record("ClientDispose " + std::to_string(client));
    if (client == 0 || client != mClient)
        return kMIDIInvalidClient;
    mClient = 0;
    mPort = 0;
    mReadProc = nullptr;
    mNotifyProc = nullptr;
    mConnections.clear();
    return noErr;
}

MIDIEndpointRef FakeMIDIServices::addSource(const std::string& name)
{
    std::lock_guard lock(mMutex);
    const MIDIEndpointRef ref = mNextRef++;
    mSources.emplace_back(ref, name);
    return ref;
}

void FakeMIDIServices::removeSource(MIDIEndpointRef source)
{
    std::lock_guard lock(mMutex);
    std::erase_if(mSources, [&](const auto& s) { return s.first == source; });
    mConnections.erase(source);
}

void FakeMIDIServices::deliverNotification(std::int32_t messageID)
{
    MIDINotifyProc proc;
    void* refCon;
    {
        std::lock_guard lock(mMutex);
        proc = mNotifyProc;
        refCon = mNotifyRefCon;
    }
    if (proc) {
        const MIDINotification message{messageID, sizeof(MIDINotification)};
        proc(&message, refCon);
    }
}

void FakeMIDIServices::inject(MIDIEndpointRef source, const MIDIPacketList& list)
{
    MIDIReadProc proc;
    void *refCon, *connRefCon;
    {
        std::lock_guard lock(mMutex);
        auto connection = mConnections.find(source);
        if (!mReadProc || connection == mConnections.end())
            return;
        proc = mReadProc;
        refCon = mReadRefCon;
        connRefCon = connection->second;
    }
    proc(&list, refCon, connRefCon);
}

std::set<MIDIEndpointRef> FakeMIDIServices::connectedSources() const
{
    std::lock_guard lock(mMutex);
    std::set<MIDIEndpointRef> out;
    for (const auto& [source, refCon] : mConnections)
        out.insert(source);
    return out;
}

std::string FakeMIDIServices::nameOf(MIDIEndpointRef endpoint) const
{
    std::lock_guard lock(mMutex);
    for (const auto& [ref, name] : mSources)
        if (ref == endpoint)
            return name;
    return {};
}

std::vector<std::string> FakeMIDIServices::calls() const
{
    std::lock_guard lock(mMutex);
    return mCalls;
}

} // namespace Doubles
