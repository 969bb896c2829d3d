// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace Platform {

// Turns SIGTERM and SIGINT into a call on the main thread (a self-pipe watched by the event
// loop), so a logout ends the application through its normal path. One instance at a time;
// the previous handlers come back when it is destroyed.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    static void handle(int);
    void drain();

    static inline volatile std::sig_atomic_t sWriteFd = -1;
    int mReadFd = -1;
    std::function<void()> mOnSignal;
    std::unique_ptr<QSocketNotifier> mNotifier;
    struct sigaction mPreviousTerm {};
    struct sigaction mPreviousInt {};
};

} // namespace Platform
