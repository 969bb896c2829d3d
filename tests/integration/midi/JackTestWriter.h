// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

// A second JACK client with one MIDI output port, standing in for a MIDI device or another program.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <jack/jack.h>
#include <mutex>
#include <string>
#include <vector>

namespace TestSupport {

using Bytes = std::vector<std::uint8_t>;

class JackTestWriter {
public:
    struct CycleResult {
        std::vector<int> writeResults; // jack_midi_event_write, one per event
        std::chrono::steady_clock::time_point writtenAt;
    };

    // Opens the client on the current JACK server, registers "<clientName>:out" and activates.
    explicit JackTestWriter(const std::string& clientName);
    ~JackTestWriter();
    JackTestWriter(const JackTestWriter&) = delete;
    JackTestWriter& operator=(const JackTestWriter&) = delete;

    jack_client_t* client() const { return mClient; }
    std::string portName() const;
    void unregisterPort();
    // The largest event one cycle can carry, as libjack reports it for an empty buffer.
    std::size_t maxEventSize() const { return mMaxEventSize.load(); }

    // Hands the events to the next process cycle, which writes them at frames 0, 1, 2...; returns once
    // that cycle ran. Throws when no cycle runs within a few seconds.
    CycleResult writeInOneCycle(std::vector<Bytes> events);

private:
    static int process(jack_nframes_t frames, void* self);

    jack_client_t* mClient;
    jack_port_t* mPort;
    std::atomic<std::size_t> mMaxEventSize{0};
    std::mutex mMutex; // the process cycle only tries it
    std::vector<Bytes> mPending;
    bool mHasPending = false;
    CycleResult mLastResult;
    std::uint64_t mCyclesDone = 0;
};

} // namespace TestSupport
