// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDI.h"

#include <atomic>
#include <cstdint>
#include <thread>

namespace Platform::Jack {

class EventQueue;

// Our receive thread: hands each batch the process callback queued to the read proc as one packet
// list, and logs the events the queue had to drop.
class Receiver {
public:
    // connRefCon is read for every batch: it may change while the thread runs.
    Receiver(EventQueue& queue, MIDIReadProc readProc, void* readRefCon,
             const std::atomic<void*>& connRefCon);
    // Returns once the read proc has returned for the last time.
    ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

private:
    void run();
    void logNewDrops();

    EventQueue& mQueue;
    MIDIReadProc mReadProc;
    void* mReadRefCon;
    const std::atomic<void*>& mConnRefCon;
    std::uint64_t mLoggedDrops = 0;
    std::thread mThread;
};

} // namespace Platform::Jack
