// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "KeyEventLog.h"

#include "MainJobRig.h"

#include <cstdlib>
#include <string>

namespace Bench {

namespace {

std::uint64_t receivedMicrosecondsOf(const std::string& line)
{
    const auto at = line.find("time_us=");
    return at == std::string::npos ? 0 : std::strtoull(line.c_str() + at + 8, nullptr, 10);
}

} // namespace

KeyEventLog::KeyEventLog(TestSupport::StandinTarget& target) : mReader([this, &target] { readLoop(target); })
{
    mEvents.reserve(1 << 16);
}

KeyEventLog::~KeyEventLog()
{
    mStop = true;
    mReader.join();
}

void KeyEventLog::readLoop(TestSupport::StandinTarget& target)
{
    const auto keep = [this](const std::string& line) {
        if (line.rfind("Key", 0) != 0)
            return false;
        {
            std::lock_guard lock(mMutex);
            mEvents.push_back(
                {TestSupport::isKeyPress(line), TestSupport::keycodeOf(line), receivedMicrosecondsOf(line)});
        }
        mAdded.notify_all();
        return false; // keep reading
    };
    // A short timeout, so the stop request is seen soon after the stand-in falls quiet.
    while (!mStop)
        target.waitForLine(keep, 50);
}

std::size_t KeyEventLog::count() const
{
    std::lock_guard lock(mMutex);
    return mEvents.size();
}

bool KeyEventLog::waitForCount(std::size_t n, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mMutex);
    return mAdded.wait_for(lock, timeout, [&] { return mEvents.size() >= n; });
}

KeyEvent KeyEventLog::at(std::size_t i) const
{
    std::lock_guard lock(mMutex);
    return mEvents.at(i);
}

std::vector<KeyEvent> KeyEventLog::events() const
{
    std::lock_guard lock(mMutex);
    return mEvents;
}

} // namespace Bench
