// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "FakeWorkspace.h"

#include <algorithm>

namespace Doubles {

using Platform::PlistDictionary;

PlistDictionary FakeWorkspace::describe(const std::string& name, const std::optional<std::string>& bundleId)
{
    PlistDictionary d{{Platform::NSApplicationName, name}};
    if (bundleId)
        d[Platform::NSApplicationBundleIdentifier] = *bundleId;
    return d;
}

std::vector<PlistDictionary> FakeWorkspace::launchedApplications()
{
    std::lock_guard lock(mMutex);
    return mRunning;
}

bool FakeWorkspace::launchApplication(const std::string& appName)
{
    std::lock_guard lock(mMutex);
    mLaunchRequests.push_back(appName);
    return true;
}

bool FakeWorkspace::openFile(const std::string& path)
{
    std::lock_guard lock(mMutex);
    mOpenedFiles.push_back(path);
    return true;
}

bool FakeWorkspace::openURL(const std::string& url)
{
    std::lock_guard lock(mMutex);
    mOpenedURLs.push_back(url);
    return true;
}

std::optional<std::string> FakeWorkspace::absolutePathForAppBundleWithIdentifier(const std::string& bundleIdentifier)
{
    std::lock_guard lock(mMutex);
    for (const auto& [id, path] : mAppBundlePaths)
        if (id == bundleIdentifier)
            return path;
    return std::nullopt;
}

void FakeWorkspace::setAppBundlePath(const std::string& bundleIdentifier, const std::string& path)
{
    std::lock_guard lock(mMutex);
    mAppBundlePaths.emplace_back(bundleIdentifier, path);
}

void FakeWorkspace::launch(const std::string& name, const std::optional<std::string>& bundleIdentifier)
{
    const auto description = describe(name, bundleIdentifier);
    {
        std::lock_guard lock(mMutex);
        mRunning.push_back(description);
    }
    mCenter.postNotificationName(Platform::NSWorkspaceWillLaunchApplicationNotification, std::nullopt, description,
                                 false);
}

void FakeWorkspace::terminate(const std::string& name)
{
    PlistDictionary description;
    {
        std::lock_guard lock(mMutex);
        auto it = std::find_if(mRunning.begin(), mRunning.end(), [&](const PlistDictionary& d) {
            return d.at(Platform::NSApplicationName) == Platform::PlistValue(name);
        });
        if (it == mRunning.end())
            return;
        description = *it;
        mRunning.erase(it);
    }
    mCenter.postNotificationName(Platform::NSWorkspaceDidTerminateApplicationNotification, std::nullopt, description,
                                 false);
}

std::vector<std::string> FakeWorkspace::launchRequests() const
{
    std::lock_guard lock(mMutex);
    return mLaunchRequests;
}

std::vector<std::string> FakeWorkspace::openedFiles() const
{
    std::lock_guard lock(mMutex);
    return mOpenedFiles;
}

std::vector<std::string> FakeWorkspace::openedURLs() const
{
    std::lock_guard lock(mMutex);
    return mOpenedURLs;
}

} // namespace Doubles
