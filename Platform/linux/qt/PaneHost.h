// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <filesystem>

namespace Platform::PaneHost {

// The application that shows preference panes, on the session bus under this name.
inline constexpr const char* bundleIdentifier = "com.apple.systempreferences";

bool isOnSessionBus();
// Asks the running host to open the pane (org.freedesktop.Application.Open); failures are logged.
void openInRunningHost(const std::filesystem::path& pane);
// Starts the host bundle, detached, with the pane's path as its argument.
bool startHostWithPane(const std::filesystem::path& hostBundle, const std::filesystem::path& pane);

} // namespace Platform::PaneHost
