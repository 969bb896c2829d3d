// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDI.h"
#include "alsa/AlsaSequencer.h"
#include "common/WakeupFd.h"

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace Platform::Alsa {

// The connRefCon of each connected source, written on the main thread, read on the receive thread.
class ConnRefCons {
public:
    void set(Address source, void* connRefCon);
    void erase(Address source);
    void* lookup(Address source) const;

private:
    mutable std::mutex mMutex;
    std::map<Address, void*> mRefCons;
};

// Our receive thread, the only reader of the sequencer's events. Announcements of clients and
// ports coming, going or changing call onSetupEvent; events sent to the input port become packet
// lists for the read proc, one packet per event, one list per run of events from the same source.
class Receiver {
public:
    struct Input {
        int port;
        MIDIReadProc readProc;
        void* readRefCon;
    };

    Receiver(Sequencer& sequencer, std::optional<Input> input, const ConnRefCons& connRefCons,
             std::function<void()> onSetupEvent);
    // Returns once the read proc has returned for the last time.
    ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

private:
    void run();
    void drain();
    void deliver(const MIDIPacketList& list, Address source) const;

    Sequencer& mSequencer;
    std::optional<Input> mInput;
    const ConnRefCons& mConnRefCons;
    std::function<void()> mOnSetupEvent;
    WakeupFd mStop;
    std::atomic<bool> mStopped{false};
    std::thread mThread;
};

} // namespace Platform::Alsa
