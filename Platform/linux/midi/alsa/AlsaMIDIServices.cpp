// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/AlsaMIDIServices.h"

#include "Platform/Log.h"
#include "alsa/AlsaReceiver.h"
#include "alsa/AlsaSequencer.h"
#include "common/MIDIObjectRefs.h"
#include "common/SetupChangeNotifier.h"
#include "common/SourceDirectory.h"

namespace Platform {
namespace {

std::vector<std::string> sourceKeys(const Alsa::Sequencer& sequencer)
{
    std::vector<std::string> keys;
    for (const Alsa::Address& address : sequencer.sources())
        keys.push_back(Alsa::addressKey(address));
    return keys;
}

} // namespace

AlsaMIDIServices::AlsaMIDIServices() = default;

AlsaMIDIServices::~AlsaMIDIServices()
{
    tearDown();
}

OSStatus AlsaMIDIServices::MIDIClientCreate(const std::string& name, MIDINotifyProc notifyProc,
                                            void* notifyRefCon, MIDIClientRef* outClient)
{
    if (mSequencer) {
        NSLog("an ALSA MIDI client exists already; dispose of it before creating '" + name + "'");
        return kMIDIInvalidClient;
    }
    mSequencer = Alsa::Sequencer::open(name);
    if (!mSequencer)
        return kMIDIServerStartErr;
    mSources = std::make_unique<SourceDirectory>();
    mConnRefCons = std::make_unique<Alsa::ConnRefCons>();
    mNotifier = std::make_unique<SetupChangeNotifier>(notifyProc, notifyRefCon);
    startReceiver();
    if (outClient != nullptr)
        *outClient = kOurClientRef;
    return noErr;
}

OSStatus AlsaMIDIServices::MIDISourceCreate(MIDIClientRef client, const std::string& name,
                                            MIDIEndpointRef* outSource)
{
    if (!isOurClient(client))
        return kMIDIInvalidClient;
    if (mVirtualSourcePort) {
        NSLog("cannot create the MIDI source '" + name + "': this client has one already");
        return kMIDIInvalidPort;
    }
    mVirtualSourcePort = mSequencer->createSource(name);
    if (!mVirtualSourcePort)
        return kMIDIInvalidPort;
    mVirtualSource = mSources->refFor(Alsa::addressKey({mSequencer->clientId(), *mVirtualSourcePort}));
    mNotifier->wake();
    if (outSource != nullptr)
        *outSource = mVirtualSource;
    return noErr;
}

OSStatus AlsaMIDIServices::MIDIInputPortCreate(MIDIClientRef client, const std::string& portName,
                                               MIDIReadProc readProc, void* refCon, MIDIPortRef* outPort)
{
    if (!isOurClient(client))
        return kMIDIInvalidClient;
    if (mInputPort) {
        NSLog("cannot create the MIDI input port '" + portName + "': this client has one already");
        return kMIDIInvalidPort;
    }
    mInputPort = mSequencer->createInput(portName);
    if (!mInputPort)
        return kMIDIInvalidPort;
    mReadProc = readProc;
    mReadRefCon = refCon;
    // Events that arrive while the thread restarts wait in the sequencer's queue.
    startReceiver();
    if (outPort != nullptr)
        *outPort = kOurInputPortRef;
    return noErr;
}

ItemCount AlsaMIDIServices::MIDIGetNumberOfSources()
{
    if (!mSequencer)
        return 0;
    mSources->update(sourceKeys(*mSequencer));
    return mSources->count();
}

MIDIEndpointRef AlsaMIDIServices::MIDIGetSource(ItemCount sourceIndex0)
{
    return mSources ? mSources->at(sourceIndex0).value_or(0) : 0;
}

OSStatus AlsaMIDIServices::MIDIPortConnectSource(MIDIPortRef port, MIDIEndpointRef source, void* connRefCon)
{
    if (!mInputPort || port != kOurInputPortRef)
        return kMIDIInvalidPort;
    const std::optional<std::string> key = mSources->keyOf(source);
    const std::optional<Alsa::Address> address = key ? Alsa::parseAddressKey(*key) : std::nullopt;
    if (!address)
        return kMIDIUnknownEndpoint;
    // Known before the first event of the new connection can arrive.
    mConnRefCons->set(*address, connRefCon);
    if (!mSequencer->connect(*address, *mInputPort)) {
        mConnRefCons->erase(*address);
        return kMIDIUnknownEndpoint;
    }
    return noErr;
}

OSStatus AlsaMIDIServices::MIDIPortDisconnectSource(MIDIPortRef port, MIDIEndpointRef source)
{
    if (!mInputPort || port != kOurInputPortRef)
        return kMIDIInvalidPort;
    const std::optional<std::string> key = mSources->keyOf(source);
    const std::optional<Alsa::Address> address = key ? Alsa::parseAddressKey(*key) : std::nullopt;
    if (!address)
        return kMIDIUnknownEndpoint;
    mSequencer->disconnect(*address, *mInputPort);
    mConnRefCons->erase(*address);
    return noErr;
}

OSStatus AlsaMIDIServices::MIDIEndpointDispose(MIDIEndpointRef endpoint)
{
    if (!mVirtualSourcePort || endpoint == 0 || endpoint != mVirtualSource)
        return kMIDIUnknownEndpoint;
    mSequencer->deletePort(*mVirtualSourcePort);
    mVirtualSourcePort.reset();
    mVirtualSource = 0;
    mNotifier->wake();
    return noErr;
}

OSStatus AlsaMIDIServices::MIDIClientDispose(MIDIClientRef client)
{
    if (!isOurClient(client))
        return kMIDIInvalidClient;
    tearDown();
    return noErr;
}

bool AlsaMIDIServices::isOurClient(MIDIClientRef client) const
{
    return mSequencer && client == kOurClientRef;
}

void AlsaMIDIServices::startReceiver()
{
    mReceiver.reset();
    std::optional<Alsa::Receiver::Input> input;
    if (mInputPort)
        input = Alsa::Receiver::Input{*mInputPort, mReadProc, mReadRefCon};
    mReceiver =
        std::make_unique<Alsa::Receiver>(*mSequencer, input, *mConnRefCons, [this] { mNotifier->wake(); });
}

void AlsaMIDIServices::tearDown()
{
    // The thread first: it is the only one that wakes the notifier or reads the sequencer.
    mReceiver.reset();
    mNotifier.reset();
    mSequencer.reset();
    mConnRefCons.reset();
    mSources.reset();
    mVirtualSourcePort.reset();
    mVirtualSource = 0;
    mInputPort.reset();
    mReadProc = nullptr;
    mReadRefCon = nullptr;
}

} // namespace Platform
