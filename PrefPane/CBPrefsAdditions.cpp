// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The pane's storage of the mappings, in the listener's preference domain; every write tells the
// listener to reload.
#include "CBPreferencePane.h"

#include "Platform/Log.h"

using namespace Platform;

namespace {

constexpr const char* kMappingsKey = "default mappings";

} // namespace

std::optional<PlistValue> CBPreferencePane::prefsGetMappingsArray()
{
    const auto domain = bundleIdentifierOfListener();
    if (!domain) {
        NSLog("the listener application is missing from " + bundle()->bundlePath() +
              "; the stored mappings cannot be read");
        return std::nullopt;
    }
    return mServices.preferences.CFPreferencesCopyValue(kMappingsKey, *domain);
}

void CBPreferencePane::prefsSetMappingsArray(const PlistArray& mappings)
{
    const auto domain = bundleIdentifierOfListener();
    if (!domain) {
        NSLog("the listener application is missing from " + bundle()->bundlePath() +
              "; the mappings cannot be stored");
        return;
    }
    mServices.preferences.CFPreferencesSetValue(kMappingsKey, PlistValue(mappings), *domain);
    mServices.preferences.CFPreferencesSynchronize(*domain);
    broadcastPrefsChange();
}

void CBPreferencePane::broadcastPrefsChange()
{
    mServices.distributedCenter.postNotificationName(kPrefsChangedNotification, bundleIdentifierOfListener(),
                                                     std::nullopt, true);
}
