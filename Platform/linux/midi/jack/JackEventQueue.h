// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDIPacketList.h"
#include "common/WakeupFd.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <jack/ringbuffer.h>
#include <vector>

namespace Platform::Jack {

// Carries MIDI events from the JACK process callback to our receive thread through a lock-free
// ring buffer. An event is copied whole or dropped whole (and counted): when the ring lacks room,
// or when it is longer than a packet can hold.
class EventQueue {
public:
    explicit EventQueue(std::size_t capacityBytes);
    ~EventQueue();
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // Real-time side: no locks, no allocation.
    void push(std::uint64_t timeStamp, const std::uint8_t* data, std::size_t size) noexcept;
    // Real-time side: wakes the reader once the cycle's events are in.
    void signal() noexcept { mWakeup.signal(); }

    // Reader side: blocks until signalled or stopped; false once stopped.
    bool wait();
    // Any thread: ends the reader's wait for good.
    void stop();
    // Reader side: appends every complete event, one packet each, in arrival order; returns how many.
    std::size_t drainInto(MIDIPacketList& list);

    std::uint64_t droppedCount() const { return mDropped.load(std::memory_order_relaxed); }

private:
    struct EventHeader {
        std::uint64_t timeStamp;
        std::uint32_t size;
    };

    jack_ringbuffer_t* mRing;
    WakeupFd mWakeup;
    WakeupFd mStop;
    std::atomic<bool> mStopped{false};
    std::atomic<std::uint64_t> mDropped{0};
    std::vector<std::uint8_t> mScratch; // reader side
};

} // namespace Platform::Jack
