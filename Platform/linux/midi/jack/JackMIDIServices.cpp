// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/JackMIDIServices.h"

#include "Platform/Log.h"
#include "common/MIDIObjectRefs.h"
#include "common/SetupChangeNotifier.h"
#include "common/SourceDirectory.h"
#include "jack/JackClient.h"
#include "jack/JackEventQueue.h"
#include "jack/JackReceiver.h"

#include <algorithm>

namespace Platform {
namespace {

// Room for several of the largest events JACK carries (its port buffer is about 32 KiB).
constexpr std::size_t queueBytes = 256 * 1024;

} // namespace

JackMIDIServices::JackMIDIServices() = default;

JackMIDIServices::~JackMIDIServices()
{
    tearDown();
}

OSStatus JackMIDIServices::MIDIClientCreate(const std::string& name, MIDINotifyProc notifyProc,
                                            void* notifyRefCon, MIDIClientRef* outClient)
{
    if (mClient) {
        NSLog("a JACK MIDI client exists already; dispose of it before creating '" + name + "'");
        return kMIDIInvalidClient;
    }
    auto queue = std::make_unique<Jack::EventQueue>(queueBytes);
    auto client = Jack::Client::open(name, *queue);
    if (!client)
        return kMIDIServerStartErr;
    mQueue = std::move(queue);
    mClient = std::move(client);
    mSources = std::make_unique<SourceDirectory>();
    mNotifier = std::make_unique<SetupChangeNotifier>(notifyProc, notifyRefCon);
    if (!mClient->activate([this] { mNotifier->wake(); })) {
        tearDown();
        return kMIDIServerStartErr;
    }
    if (outClient != nullptr)
        *outClient = kOurClientRef;
    return noErr;
}

OSStatus JackMIDIServices::MIDISourceCreate(MIDIClientRef client, const std::string& name,
                                            MIDIEndpointRef* outSource)
{
    if (!isOurClient(client))
        return kMIDIInvalidClient;
    const std::optional<std::string> fullName = mClient->registerSource(name);
    if (!fullName)
        return kMIDIInvalidPort;
    mVirtualSource = mSources->refFor(*fullName);
    // The registration callback reports it too; this does not depend on JACK telling a client
    // about its own ports.
    mNotifier->wake();
    if (outSource != nullptr)
        *outSource = mVirtualSource;
    return noErr;
}

OSStatus JackMIDIServices::MIDIInputPortCreate(MIDIClientRef client, const std::string& portName,
                                               MIDIReadProc readProc, void* refCon, MIDIPortRef* outPort)
{
    if (!isOurClient(client))
        return kMIDIInvalidClient;
    if (!mClient->registerInput(portName))
        return kMIDIInvalidPort;
    // Events that arrive before the thread runs wait in the queue.
    mReceiver = std::make_unique<Jack::Receiver>(*mQueue, readProc, refCon, mDeliveredConnRefCon);
    if (outPort != nullptr)
        *outPort = kOurInputPortRef;
    return noErr;
}

ItemCount JackMIDIServices::MIDIGetNumberOfSources()
{
    if (!mClient)
        return 0;
    mSources->update(mClient->midiSources());
    std::erase_if(mConnRefCons, [this](const auto& entry) { return !mSources->keyOf(entry.first); });
    updateDeliveredConnRefCon();
    return mSources->count();
}

MIDIEndpointRef JackMIDIServices::MIDIGetSource(ItemCount sourceIndex0)
{
    return mSources ? mSources->at(sourceIndex0).value_or(0) : 0;
}

OSStatus JackMIDIServices::MIDIPortConnectSource(MIDIPortRef port, MIDIEndpointRef source, void* connRefCon)
{
    if (!mReceiver || port != kOurInputPortRef)
        return kMIDIInvalidPort;
    const std::optional<std::string> name = mSources->keyOf(source);
    if (!name || !mClient->connectToInput(*name))
        return kMIDIUnknownEndpoint;
    mConnRefCons[source] = connRefCon;
    updateDeliveredConnRefCon();
    return noErr;
}

OSStatus JackMIDIServices::MIDIPortDisconnectSource(MIDIPortRef port, MIDIEndpointRef source)
{
    if (!mReceiver || port != kOurInputPortRef)
        return kMIDIInvalidPort;
    mConnRefCons.erase(source);
    updateDeliveredConnRefCon();
    const std::optional<std::string> name = mSources->keyOf(source);
    if (!name)
        return kMIDIUnknownEndpoint;
    mClient->disconnectFromInput(*name);
    return noErr;
}

OSStatus JackMIDIServices::MIDIEndpointDispose(MIDIEndpointRef endpoint)
{
    if (!mClient || endpoint == 0 || endpoint != mVirtualSource)
        return kMIDIUnknownEndpoint;
    mClient->unregisterSource();
    mVirtualSource = 0;
    mNotifier->wake();
    return noErr;
}

OSStatus JackMIDIServices::MIDIClientDispose(MIDIClientRef client)
{
    if (!isOurClient(client))
        return kMIDIInvalidClient;
    tearDown();
    return noErr;
}

std::uint64_t JackMIDIServices::droppedEventCount() const
{
    return mQueue ? mQueue->droppedCount() : 0;
}

bool JackMIDIServices::isOurClient(MIDIClientRef client) const
{
    return mClient && client == kOurClientRef;
}

void JackMIDIServices::updateDeliveredConnRefCon()
{
    void* shared = mConnRefCons.empty() ? nullptr : mConnRefCons.begin()->second;
    const bool allSame = std::all_of(mConnRefCons.begin(), mConnRefCons.end(),
                                     [shared](const auto& entry) { return entry.second == shared; });
    mDeliveredConnRefCon = allSame ? shared : nullptr;
}

void JackMIDIServices::tearDown()
{
    // The client first: once it is closed no JACK callback touches the queue or the notifier.
    mClient.reset();
    mReceiver.reset();
    mNotifier.reset();
    mSources.reset();
    mQueue.reset();
    mVirtualSource = 0;
    mConnRefCons.clear();
    mDeliveredConnRefCon = nullptr;
}

} // namespace Platform
