// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "alsa/AlsaReceiver.h"

#include "Platform/Log.h"
#include "alsa/AlsaEventBytes.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <string>
#include <vector>

namespace Platform::Alsa {
namespace {

bool isSetupEvent(snd_seq_event_type_t type)
{
    switch (type) {
    case SND_SEQ_EVENT_CLIENT_START:
    case SND_SEQ_EVENT_CLIENT_EXIT:
    case SND_SEQ_EVENT_CLIENT_CHANGE:
    case SND_SEQ_EVENT_PORT_START:
    case SND_SEQ_EVENT_PORT_EXIT:
    case SND_SEQ_EVENT_PORT_CHANGE:
        return true;
    default:
        return false;
    }
}

// Events come without a queue time; the arrival time in nanoseconds stands in.
std::uint64_t arrivalTime()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void ConnRefCons::set(Address source, void* connRefCon)
{
    const std::lock_guard lock(mMutex);
    mRefCons[source] = connRefCon;
}

void ConnRefCons::erase(Address source)
{
    const std::lock_guard lock(mMutex);
    mRefCons.erase(source);
}

void* ConnRefCons::lookup(Address source) const
{
    const std::lock_guard lock(mMutex);
    const auto it = mRefCons.find(source);
    return it == mRefCons.end() ? nullptr : it->second;
}

Receiver::Receiver(Sequencer& sequencer, std::optional<Input> input, const ConnRefCons& connRefCons,
                   std::function<void()> onSetupEvent)
    : mSequencer(sequencer), mInput(input), mConnRefCons(connRefCons), mOnSetupEvent(std::move(onSetupEvent)),
      mThread([this] { run(); })
{
}

Receiver::~Receiver()
{
    mStopped = true;
    mStop.signal();
    mThread.join();
}

void Receiver::run()
{
    snd_seq_t* seq = mSequencer.handle();
    const int count = snd_seq_poll_descriptors_count(seq, POLLIN);
    std::vector<pollfd> fds(static_cast<std::size_t>(count) + 1);
    snd_seq_poll_descriptors(seq, fds.data(), static_cast<unsigned>(count), POLLIN);
    fds.back() = {mStop.fd(), POLLIN, 0};
    while (!mStopped) {
        if (poll(fds.data(), fds.size(), -1) < 0)
            continue; // EINTR
        if (mStopped)
            break;
        if (std::any_of(fds.begin(), fds.end(),
                        [](const pollfd& fd) { return fd.revents & (POLLERR | POLLNVAL); })) {
            NSLog("the ALSA sequencer reported an error on its descriptor; MIDI input has stopped");
            break;
        }
        drain();
    }
}

void Receiver::drain()
{
    MIDIPacketList list;
    std::optional<Address> batchSource;
    bool setupChanged = false;
    for (;;) {
        snd_seq_event_t* event = nullptr;
        const int result = snd_seq_event_input(mSequencer.handle(), &event);
        if (result == -EAGAIN)
            break;
        if (result == -ENOSPC) {
            NSLog("the ALSA sequencer's input queue overflowed and lost MIDI events; the read callback is "
                  "too slow");
            continue;
        }
        if (result < 0) {
            NSLog(std::string("cannot read from the ALSA sequencer: ") + snd_strerror(result));
            break;
        }
        if (event->dest.port == mSequencer.announcePort()) {
            setupChanged = setupChanged || isSetupEvent(event->type);
            continue;
        }
        if (!mInput || event->dest.port != mInput->port)
            continue;
        const std::vector<std::uint8_t> bytes = alsaEventToMIDIBytes(*event);
        if (bytes.empty())
            continue;
        const Address source{event->source.client, event->source.port};
        if (batchSource && *batchSource != source) {
            deliver(list, *batchSource);
            list.clear();
        }
        batchSource = source;
        list.add(arrivalTime(), bytes);
    }
    if (batchSource)
        deliver(list, *batchSource);
    if (setupChanged)
        mOnSetupEvent();
}

void Receiver::deliver(const MIDIPacketList& list, Address source) const
{
    if (mInput->readProc != nullptr)
        mInput->readProc(&list, mInput->readRefCon, mConnRefCons.lookup(source));
}

} // namespace Platform::Alsa
