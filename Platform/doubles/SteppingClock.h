// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <chrono>

namespace Doubles {

// A steady clock that moves on by step at every reading, so a wait bounded by time ends after a
// known number of readings without real waiting.
class SteppingClock {
public:
    explicit SteppingClock(std::chrono::steady_clock::duration step) : mStep(step) {}

    std::chrono::steady_clock::time_point now()
    {
        ++mReadings;
        return mNow += mStep;
    }
    std::chrono::steady_clock::duration elapsed() const
    {
        return mNow - std::chrono::steady_clock::time_point();
    }
    int readings() const { return mReadings; }

private:
    std::chrono::steady_clock::duration mStep;
    std::chrono::steady_clock::time_point mNow{};
    int mReadings = 0;
};

} // namespace Doubles
