// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "jack/JackReceiver.h"

#include "Platform/Log.h"
#include "jack/JackEventQueue.h"

#include <string>

namespace Platform::Jack {

Receiver::Receiver(EventQueue& queue, MIDIReadProc readProc, void* readRefCon,
                   const std::atomic<void*>& connRefCon)
    : mQueue(queue), mReadProc(readProc), mReadRefCon(readRefCon), mConnRefCon(connRefCon),
      mThread([this] { run(); })
{
}

Receiver::~Receiver()
{
    mQueue.stop();
    mThread.join();
}

void Receiver::run()
{
    MIDIPacketList list;
    while (mQueue.wait()) {
        logNewDrops();
        list.clear();
        if (mQueue.drainInto(list) > 0 && mReadProc != nullptr)
            mReadProc(&list, mReadRefCon, mConnRefCon.load());
    }
}

void Receiver::logNewDrops()
{
    const std::uint64_t dropped = mQueue.droppedCount();
    if (dropped == mLoggedDrops)
        return;
    NSLog("dropped " + std::to_string(dropped - mLoggedDrops) +
          " incoming JACK MIDI event(s): longer than 65535 bytes, or the receive queue was full because the "
          "read callback is too slow");
    mLoggedDrops = dropped;
}

} // namespace Platform::Jack
