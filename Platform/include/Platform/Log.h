// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <string_view>

namespace Platform {

class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void write(std::string_view line) = 0; // called from any thread
};

// Installs the process-wide sink; nullptr restores the default (stderr and syslog).
void setLogSink(LogSink* sink);

} // namespace Platform

// One line to the system log. Safe from any thread.
void NSLog(std::string_view line);
