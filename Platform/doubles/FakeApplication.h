// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Application.h"

namespace Doubles {

// An application object without an event loop: main-thread work runs at once.
class FakeApplication : public Platform::Application {
public:
    void setDelegate(Platform::ApplicationDelegate* delegate) override { mDelegate = delegate; }
    void terminate(const void* sender) override
    {
        ++mTerminateCount;
        mLastTerminateSender = sender;
        if (mDelegate)
            mDelegate->applicationWillTerminate();
    }
    void performOnMainThread(std::function<void()> work, bool) override { work(); }

    Platform::ApplicationDelegate* delegate() const { return mDelegate; }
    int terminateCount() const { return mTerminateCount; }
    const void* lastTerminateSender() const { return mLastTerminateSender; }

private:
    Platform::ApplicationDelegate* mDelegate = nullptr;
    int mTerminateCount = 0;
    const void* mLastTerminateSender = nullptr;
};

} // namespace Doubles
