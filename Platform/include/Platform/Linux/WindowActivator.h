// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <sys/types.h>

namespace Platform {

// Brings a running process's window to the front.
class WindowActivator {
public:
    virtual ~WindowActivator() = default;
    // Activates the visible, managed top-level window of the process; false when it has none.
    // Safe from any thread.
    virtual bool activateWindowOfProcess(pid_t pid) = 0;
};

} // namespace Platform
