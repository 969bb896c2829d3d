// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Application.h"

namespace Platform {

// The application object over the running QApplication. The loop ends only through terminate
// (closing the last window does not quit: the listener has none, and its alerts must not end it).
class QtApplication : public Application {
public:
    QtApplication();

    void setDelegate(ApplicationDelegate* delegate) override { mDelegate = delegate; }
    void terminate(const void* sender) override;
    void performOnMainThread(std::function<void()> work, bool waitUntilDone) override;

    // Tells the delegate launching finished on the loop's first turn, then runs the loop.
    int run();

private:
    // True the first time only: the delegate hears applicationWillTerminate once, whatever ends the loop.
    bool beginTermination();

    ApplicationDelegate* mDelegate = nullptr;
    bool mTerminating = false; // main thread only
};

} // namespace Platform
