// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "PrivateServers.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace TestSupport {

// A running stand-in target application ("GarageBand") on $DISPLAY, its stdout captured.
class StandinTarget {
public:
    // The built stand-in executable.
    static std::string builtPath();

    // Starts `executable` (the stand-in under any name) and waits until its window is mapped
    // and focused; throws when it does not come up.
    explicit StandinTarget(const std::string& executable = builtPath());
    ~StandinTarget();
    StandinTarget(const StandinTarget&) = delete;
    StandinTarget& operator=(const StandinTarget&) = delete;

    pid_t pid() const { return mProcess->pid(); }
    ChildProcess& process() { return *mProcess; }

    // Reads lines until one satisfies `accept` (returned) or timeoutMs passes (none). Lines read
    // before it are consumed.
    std::optional<std::string> waitForLine(const std::function<bool(const std::string&)>& accept,
                                           int timeoutMs = 5000);
    // Whether the stand-in prints no further line within timeoutMs.
    bool staysQuiet(int timeoutMs);

private:
    std::optional<std::string> readLine(int timeoutMs);

    int mOutput = -1;
    std::string mPending;
    std::unique_ptr<ChildProcess> mProcess;
};

} // namespace TestSupport
