// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Processes.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>

class QTimer;

namespace Platform {

class RunningApplications;

// Polls the running applications on a timer of the main thread and reports each one that
// appeared or went away since the previous poll. Create it on the main thread.
class ApplicationWatcher {
public:
    enum class Change { Launched, Terminated };
    using Observer = std::function<void(Change, const RunningProcess&)>;

    ApplicationWatcher(RunningApplications& applications, std::chrono::milliseconds interval,
                       Observer observer);
    ~ApplicationWatcher();

    // Takes the first snapshot (what already runs is not reported) and starts polling. Later calls
    // do nothing. From any thread.
    void start();

private:
    void begin();
    void poll();

    RunningApplications& mApplications;
    Observer mObserver;
    std::unique_ptr<QTimer> mTimer;
    std::map<pid_t, RunningProcess> mKnown; // main thread only
};

} // namespace Platform
