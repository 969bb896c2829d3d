// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "StandinTarget.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace Bench {

struct KeyEvent {
    bool press;
    int keycode;
    std::uint64_t receivedMicroseconds; // CLOCK_MONOTONIC, as the stand-in stamped it
};

// Reads the stand-in's output on a thread of its own from construction to destruction, so its pipe
// never fills, and keeps every key event it reports. The stand-in must not be read elsewhere
// meanwhile.
class KeyEventLog {
public:
    explicit KeyEventLog(TestSupport::StandinTarget& target);
    ~KeyEventLog();
    KeyEventLog(const KeyEventLog&) = delete;
    KeyEventLog& operator=(const KeyEventLog&) = delete;

    std::size_t count() const;
    // Waits until at least n events were reported; false after the timeout.
    bool waitForCount(std::size_t n, std::chrono::milliseconds timeout) const;
    // Event i; call only once count() > i.
    KeyEvent at(std::size_t i) const;
    std::vector<KeyEvent> events() const;

private:
    void readLoop(TestSupport::StandinTarget& target);

    mutable std::mutex mMutex;
    mutable std::condition_variable mAdded;
    std::vector<KeyEvent> mEvents;
    std::atomic<bool> mStop = false;
    std::thread mReader;
};

} // namespace Bench
