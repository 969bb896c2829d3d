// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/NotificationCenter.h"
#include "Platform/PropertyList.h"

#include <optional>
#include <string>
#include <vector>

namespace Platform {

inline constexpr const char* NSWorkspaceWillLaunchApplicationNotification =
    "NSWorkspaceWillLaunchApplicationNotification";
inline constexpr const char* NSWorkspaceDidTerminateApplicationNotification =
    "NSWorkspaceDidTerminateApplicationNotification";
inline constexpr const char* NSApplicationName = "NSApplicationName";
inline constexpr const char* NSApplicationBundleIdentifier = "NSApplicationBundleIdentifier";
inline constexpr const char* NSApplicationProcessIdentifier = "NSApplicationProcessIdentifier";

class Workspace {
public:
    virtual ~Workspace() = default;

    // One dictionary per running application: "NSApplicationName", "NSApplicationProcessIdentifier"
    // and, for a bundle application, "NSApplicationBundleIdentifier".
    virtual std::vector<PlistDictionary> launchedApplications() = 0;
    // Launches the named application, or brings it to the front when it runs. Safe from any thread.
    virtual bool launchApplication(const std::string& appName) = 0;
    virtual bool openFile(const std::string& path) = 0;
    virtual bool openURL(const std::string& url) = 0;
    virtual std::optional<std::string> absolutePathForAppBundleWithIdentifier(const std::string& bundleIdentifier) = 0;
    // Carries the will-launch and did-terminate notifications; handlers run on the main thread.
    virtual NotificationCenter& notificationCenter() = 0;
};

} // namespace Platform
