// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/LaunchServices.h"
#include "Platform/NotificationCenter.h"
#include "Platform/Preferences.h"
#include "Platform/Processes.h"

#include <chrono>
#include <functional>
#include <memory>

// The platform services the pane works with, handed to it when it is created.
struct PaneServices {
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    Platform::PreferenceStore& preferences; // every domain, "loginwindow" included
    Platform::NotificationCenter& distributedCenter;
    Platform::ProcessList& processes;
    Platform::LaunchServices& launchServices;
    std::function<void()> beep; // refused input in the sysex column
    Clock clock;                // bounds the wait for a restarting listener
    // Keeps the services above alive as long as the pane when they were made for it alone.
    std::shared_ptr<void> owner;
};
