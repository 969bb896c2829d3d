// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The controller's lifecycle: single instance, start-up and shutdown order, where the pane is,
// and GarageBand tracking.
#include "CBController.h"

#include "CBBundleAdditions.h"

#include "Platform/Exception.h"
#include "Platform/Log.h"
#include "Platform/Workspace.h"

#include <filesystem>

std::atomic<CBController*> CBController::sCBController = nullptr;

CBController::CBController(ListenerServices services) : mServices(std::move(services))
{
    CBController* expected = nullptr;
    if (!sCBController.compare_exchange_strong(expected, this))
        throw Platform::NSException(kSingleInstanceMessage, kSingleInstanceMessage);

    mListenerBundleID = mServices.listenerBundle->bundleIdentifier();
    mPrefPaneBundleID = bundleIdentifierOfPrefsPane().value_or(kFallbackPrefPaneBundleID);
    loadFromPrefs();
    mMIDISources.reserve(32);
    mGarageBandIsRunning = garageBandIsRunning();
}

CBController::~CBController()
{
    MIDITearDown();
    sCBController = nullptr;
    mListenerBundleID.reset();
    mPrefPaneBundleID.reset();
    replaceMappings(nullptr);
    mMIDISources.clear();
    unregisterForNotifications();
}

void CBController::awakeFromNib()
{
    MIDISetup(); // without MIDI the listener still runs; there is nobody to tell
    registerForNotifications();
}

void CBController::applicationDidFinishLaunching()
{
    NSLog("CueboltListener " + CBBundleAdditions::bundleVersion(*mServices.listenerBundle).value_or("(null)") +
          " has started up.");
    broadcastListenerStarted();
    startAutoUpdateSchedule();
}

void CBController::applicationWillTerminate()
{
    broadcastListenerQuitting();
    NSLog("Cuebolt " + CBBundleAdditions::bundleVersion(*mServices.listenerBundle).value_or("(null)") +
          " is shutting down.");
}

void CBController::startAutoUpdateSchedule()
{
    // The update checker starts its hourly schedule from here once it is part of the listener.
    mAutoUpdateCheck = true;
}

std::optional<std::string> CBController::pathToPrefsPane() const
{
    std::filesystem::path path = mServices.listenerBundle->bundlePath();
    while (path.native().size() > 1 && path.extension() != ".prefPane")
        path = path.parent_path();
    if (path.native().size() <= 1)
        return std::nullopt;
    return path.native();
}

std::optional<std::string> CBController::bundleIdentifierOfPrefsPane() const
{
    const auto path = pathToPrefsPane();
    if (!path)
        return std::nullopt;
    const auto pane = Platform::Bundle::bundleWithPath(*path);
    return pane ? pane->bundleIdentifier() : std::nullopt;
}

namespace {

bool isGarageBand(const Platform::Notification& notification)
{
    auto it = notification.userInfo.find(Platform::NSApplicationBundleIdentifier);
    return it != notification.userInfo.end() &&
           it->second == Platform::PlistValue(CBController::kGarageBandBundleID);
}

} // namespace

void CBController::handleApplicationWillLaunchNotification(const Platform::Notification& notification)
{
    if (isGarageBand(notification))
        mGarageBandIsRunning = true;
}

void CBController::handleApplicationDidTerminateNotification(const Platform::Notification& notification)
{
    if (isGarageBand(notification))
        mGarageBandIsRunning = false;
}
