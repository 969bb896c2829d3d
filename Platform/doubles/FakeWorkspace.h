// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/LocalNotificationCenter.h"
#include "Platform/Workspace.h"

#include <mutex>
#include <string>
#include <vector>

namespace Doubles {

// A workspace whose running applications the test sets; launches and opens are recorded.
class FakeWorkspace : public Platform::Workspace {
public:
    std::vector<Platform::PlistDictionary> launchedApplications() override;
    bool launchApplication(const std::string& appName) override;
    bool openFile(const std::string& path) override;
    bool openURL(const std::string& url) override;
    std::optional<std::string> absolutePathForAppBundleWithIdentifier(const std::string& bundleIdentifier) override;
    Platform::NotificationCenter& notificationCenter() override { return mCenter; }

    // Adds a running application and posts its will-launch notification.
    void launch(const std::string& name, const std::optional<std::string>& bundleIdentifier);
    // Removes it and posts its did-terminate notification.
    void terminate(const std::string& name);

    std::vector<std::string> launchRequests() const;
    std::vector<std::string> openedFiles() const;
    std::vector<std::string> openedURLs() const;
    void setAppBundlePath(const std::string& bundleIdentifier, const std::string& path);

private:
    static Platform::PlistDictionary describe(const std::string& name, const std::optional<std::string>& bundleId);

    mutable std::mutex mMutex;
    std::vector<Platform::PlistDictionary> mRunning;
    std::vector<std::string> mLaunchRequests;
    std::vector<std::string> mOpenedFiles;
    std::vector<std::string> mOpenedURLs;
    std::vector<std::pair<std::string, std::string>> mAppBundlePaths;
    Platform::LocalNotificationCenter mCenter;
};

} // namespace Doubles
