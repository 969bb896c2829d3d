// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Processes.h"

#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Platform {

// The applications the workspace reports: the current user's processes that have a name, with a
// name-to-pid map kept from the last read so a lookup costs no /proc walk. Thread-safe.
class RunningApplications {
public:
    explicit RunningApplications(ProcessList& processes) : mProcesses(processes) {}

    // Reads the process list afresh and remembers it.
    std::vector<RunningProcess> refresh();
    // The pid of the application of that name at the last refresh (the first listed when several
    // share it); none when it was not running.
    std::optional<pid_t> cachedPid(const std::string& name) const;

private:
    ProcessList& mProcesses;
    mutable std::mutex mMutex;
    std::unordered_map<std::string, pid_t> mPidByName;
};

} // namespace Platform
