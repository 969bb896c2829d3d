// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// A JACK client with one MIDI output port that writes System Exclusive messages into the graph:
// all messages of one send() go out as separate events of the same process cycle.
class JackSysexSender {
public:
    explicit JackSysexSender(const std::string& clientName = "cuebolt-sender");
    ~JackSysexSender();
    JackSysexSender(const JackSysexSender&) = delete;
    JackSysexSender& operator=(const JackSysexSender&) = delete;

    std::string portName() const;
    bool isConnectedTo(const std::string& portName) const;
    // The ports connected to any port of the graph.
    std::vector<std::string> connectionsOf(const std::string& portName) const;
    void send(const std::vector<std::vector<std::uint8_t>>& messages);
    // CLOCK_MONOTONIC microseconds at the start of the cycle that wrote the last batch; 0 before.
    std::uint64_t lastWriteMicroseconds() const { return mLastWrite.load(); }
    std::uint64_t batchesWritten() const { return mBatchesWritten.load(); }
    jack_nframes_t periodFrames() const;
    jack_nframes_t sampleRate() const;

private:
    static int process(jack_nframes_t frames, void* self);

    jack_client_t* mClient = nullptr;
    jack_port_t* mPort = nullptr;
    jack_ringbuffer_t* mQueue = nullptr; // batches: u32 total size, u32 count, per message u32 length + bytes
    std::atomic<std::uint64_t> mLastWrite = 0;
    std::atomic<std::uint64_t> mBatchesWritten = 0;
};

} // namespace TestSupport
