// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Platform {

struct RunningProcess {
    pid_t pid = 0;
    // The bundle's name for an executable in X.app/Contents/MacOS/, else the executable's file name.
    std::string name;
    std::optional<std::string> bundlePath;
    std::optional<std::string> bundleIdentifier;
};

// The Process Manager's list of running processes.
class ProcessList {
public:
    virtual ~ProcessList() = default;
    virtual std::vector<RunningProcess> runningProcesses() = 0;
};

} // namespace Platform
