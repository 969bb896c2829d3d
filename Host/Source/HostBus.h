// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <optional>
#include <string>

class ApplicationService;

// One pane host per session: the first owns the bus name, later starts hand their request over.
namespace HostBus {

inline constexpr const char* serviceName = "com.apple.systempreferences";

enum class Registration {
    Registered,     // this process is the host
    AlreadyRunning, // another process owns the name
    NoBus,          // no session bus: this process hosts alone, unreachable
};

// Exports the service, then claims the name without queueing.
Registration registerHost(ApplicationService& service);

// Asks the running host to open the pane (Open) or, without one, to come forward (Activate).
// False, with a log line, when it did not answer.
bool forwardToRunningHost(const std::optional<std::string>& panePath);

} // namespace HostBus
