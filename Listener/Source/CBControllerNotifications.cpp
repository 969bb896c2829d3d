// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// Notifications with the pane, addressed by bundle identifier, and the workspace notifications
// that follow GarageBand.
#include "CBController.h"

#include "CBBundleAdditions.h"

#include "Platform/Log.h"
#include "Platform/Workspace.h"

#include <array>

using namespace Platform;

namespace {

constexpr const char* kPrefsChanged = "Cuebolt prefs changed";
constexpr const char* kQuitRequest = "Cuebolt listener quit request";
constexpr const char* kVersionRequest = "CBListenerVersionRequest";
constexpr const char* kVersionReply = "CBListenerVersionReply";
constexpr const char* kListenerStarted = "Cuebolt listener started";
constexpr const char* kListenerQuitting = "Cuebolt listener quitting";

constexpr std::array<const char*, 3> kObservedDistributedNames = {kPrefsChanged, kQuitRequest, kVersionRequest};

} // namespace

void CBController::registerForNotifications()
{
    auto& center = mServices.distributedCenter;
    center.addObserver(this, [this](const Notification& n) { prefsChanged(n); }, kPrefsChanged, mListenerBundleID);
    center.addObserver(this, [this](const Notification& n) { quitRequest(n); }, kQuitRequest, mListenerBundleID);
    center.addObserver(this, [this](const Notification& n) { handleVersionRequest(n); }, kVersionRequest,
                       mListenerBundleID);

    auto& workspaceCenter = mServices.workspace.notificationCenter();
    workspaceCenter.addObserver(
        this, [this](const Notification& n) { handleApplicationWillLaunchNotification(n); },
        NSWorkspaceWillLaunchApplicationNotification, std::nullopt);
    workspaceCenter.addObserver(
        this, [this](const Notification& n) { handleApplicationDidTerminateNotification(n); },
        NSWorkspaceDidTerminateApplicationNotification, std::nullopt);
}

void CBController::unregisterForNotifications()
{
    for (const char* name : kObservedDistributedNames)
        mServices.distributedCenter.removeObserver(this, std::string(name), mListenerBundleID);
    mServices.workspace.notificationCenter().removeObserver(this);
}

void CBController::postToPane(const std::string& name, const std::optional<PlistDictionary>& userInfo)
{
    mServices.distributedCenter.postNotificationName(name, mPrefPaneBundleID, userInfo, true);
}

void CBController::broadcastListenerStarted() { postToPane(kListenerStarted, std::nullopt); }

void CBController::broadcastListenerQuitting() { postToPane(kListenerQuitting, std::nullopt); }

void CBController::prefsChanged(const Notification&)
{
    NSLog("Reloading prefs...");
    loadFromPrefs();
}

void CBController::quitRequest(const Notification&) { mServices.application.terminate(this); }

void CBController::handleVersionRequest(const Notification&)
{
    PlistDictionary userInfo;
    if (auto version = CBBundleAdditions::bundleVersion(*mServices.listenerBundle))
        userInfo["CFBundleVersion"] = *version;
    postToPane(kVersionReply, userInfo);
}
