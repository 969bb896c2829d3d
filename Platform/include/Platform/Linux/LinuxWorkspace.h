// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/LaunchServices.h"
#include "Platform/Linux/WindowActivator.h"
#include "Platform/Processes.h"
#include "Platform/Workspace.h"

#include <chrono>
#include <memory>

namespace Platform {

class ApplicationWatcher;
class RunningApplications;
class WorkspaceNotificationCenter;

// The workspace over /proc, our launch services and the window activator.
//
// Running applications: every process of the current user that the process list names (a bundle
// application under its bundle's name, anything else under its executable's file name).
//
// Launch and terminate notifications: the process list is polled on the main thread once the
// first observer is added; a process that appears is announced as launching, one that is gone as
// terminated, with its name, pid and bundle identifier (when it has one). So they come up to one
// poll interval late.
//
// Application folders, searched in this order:
//   launchApplication: $HOME/Applications, /Applications, /usr/local/Applications.
//   absolutePathForAppBundleWithIdentifier: the folders holding the bundles around the running
//   executable, innermost first (so a build tree and an installed tree find their own
//   applications), then the three folders above.
//
// Create and destroy it on the main thread; launchApplication and launchedApplications are safe
// from any thread.
class LinuxWorkspace : public Workspace {
public:
    static constexpr std::chrono::milliseconds defaultPollInterval{1000};

    LinuxWorkspace(ProcessList& processes, LaunchServices& launchServices, WindowActivator& activator,
                   std::chrono::milliseconds pollInterval = defaultPollInterval);
    ~LinuxWorkspace() override;

    std::vector<PlistDictionary> launchedApplications() override;
    // Brings the application to the front when it runs (a cached name-to-pid map, refreshed on a
    // miss), else starts <name>.app from the application folders.
    bool launchApplication(const std::string& appName) override;
    // A .prefPane goes to the pane host (com.apple.systempreferences): over D-Bus when it is on
    // the session bus, else by starting its bundle with the pane's path; other files open with
    // the desktop's default application.
    bool openFile(const std::string& path) override;
    bool openURL(const std::string& url) override;
    std::optional<std::string>
    absolutePathForAppBundleWithIdentifier(const std::string& bundleIdentifier) override;
    NotificationCenter& notificationCenter() override;

private:
    void announce(const char* notificationName, const RunningProcess& application);

    LaunchServices& mLaunchServices;
    WindowActivator& mActivator;
    std::unique_ptr<RunningApplications> mApplications;
    std::unique_ptr<WorkspaceNotificationCenter> mNotificationCenter;
    std::unique_ptr<ApplicationWatcher> mWatcher;
};

} // namespace Platform
