// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

namespace Platform {

// An eventfd that one side signals without blocking (safe in a real-time callback) and the other
// side polls.
class WakeupFd {
public:
    WakeupFd();
    ~WakeupFd();
    WakeupFd(const WakeupFd&) = delete;
    WakeupFd& operator=(const WakeupFd&) = delete;

    int fd() const { return mFd; }
    void signal() noexcept;
    // Resets the counter after a poll reported the descriptor readable.
    void consume() noexcept;

private:
    int mFd;
};

} // namespace Platform
