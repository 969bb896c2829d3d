// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Preferences.h"

#include <map>
#include <string>

namespace Doubles {

// Preferences in memory: the "disk" holds what was synchronized; writes stay pending until then.
class MemoryPreferenceStore : public Platform::PreferenceStore {
public:
    std::optional<Platform::PlistValue> CFPreferencesCopyValue(const std::string& key,
                                                               const std::string& domain) override;
    void CFPreferencesSetValue(const std::string& key, std::optional<Platform::PlistValue> value,
                               const std::string& domain) override;
    bool CFPreferencesSynchronize(const std::string& domain) override;

    // What another process wrote and synchronized.
    void storeOnDisk(const std::string& key, Platform::PlistValue value, const std::string& domain);
    std::optional<Platform::PlistValue> onDisk(const std::string& key, const std::string& domain) const;
    int synchronizeCount() const { return mSynchronizeCount; }

private:
    using Domain = std::map<std::string, std::optional<Platform::PlistValue>>;
    std::map<std::string, Platform::PlistDictionary> mDisk;
    std::map<std::string, Domain> mPending;
    int mSynchronizeCount = 0;
};

} // namespace Doubles
