// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

// Recorders for the MIDI callbacks, a log capture and a poll loop that runs the Qt event loop.

#include "Platform/Log.h"
#include "Platform/MIDI.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace MIDITest {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// A QCoreApplication for the whole test program.
void ensureCoreApplication();

// Processes Qt events until the condition holds or the timeout passes; returns the condition.
bool pollUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s);

class LogCapture final : public Platform::LogSink {
public:
    LogCapture() { Platform::setLogSink(this); }
    ~LogCapture() override { Platform::setLogSink(nullptr); }
    void write(std::string_view line) override;
    bool contains(std::string_view text) const;

private:
    mutable std::mutex mMutex;
    std::vector<std::string> mLines;
};

// The read proc: records each packet, the thread and the connection reference.
class PacketRecorder {
public:
    static void readProc(const Platform::MIDIPacketList* list, void* readRefCon, void* srcConnRefCon);

    std::vector<Bytes> packets() const;
    std::size_t count() const;
    bool contains(const Bytes& packet) const;
    bool calledOnMainThread() const;
    std::vector<void*> connRefCons() const;
    void clear();

    // The next call waits inside the read proc until release(): a slow reader.
    void holdNextCall();
    void release();

private:
    void record(const Platform::MIDIPacketList& list, void* srcConnRefCon);

    const std::thread::id mMainThread = std::this_thread::get_id();
    mutable std::mutex mMutex;
    std::condition_variable mReleased;
    bool mHold = false;
    std::vector<Bytes> mPackets;
    std::vector<void*> mConnRefCons;
    bool mCalledOnMainThread = false;
};

// The notify proc: counts setup changes and checks the thread.
class NotificationRecorder {
public:
    static void notifyProc(const Platform::MIDINotification* message, void* refCon);

    int setupChanges() const { return mSetupChanges; }
    bool allOnMainThread() const { return mAllOnMainThread; }

private:
    const std::thread::id mMainThread = std::this_thread::get_id();
    int mSetupChanges = 0;
    bool mAllOnMainThread = true;
};

} // namespace MIDITest
