// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Linux/AutostartLoginItems.h"
#include "Platform/Linux/FilePreferenceStore.h"

namespace Platform {

// The user's preferences: the "loginwindow" domain is the autostart folder, every other domain a
// preference file.
class UserPreferenceStore : public PreferenceStore {
public:
    explicit UserPreferenceStore(
        std::filesystem::path preferencesDirectory = FilePreferenceStore::defaultDirectory(),
        std::filesystem::path autostartDirectory = AutostartLoginItems::defaultDirectory());

    std::optional<PlistValue> CFPreferencesCopyValue(const std::string& key,
                                                     const std::string& domain) override;
    void CFPreferencesSetValue(const std::string& key, std::optional<PlistValue> value,
                               const std::string& domain) override;
    bool CFPreferencesSynchronize(const std::string& domain) override;

private:
    PreferenceStore& storeFor(const std::string& domain);

    FilePreferenceStore mFiles;
    AutostartLoginItems mLoginItems;
};

} // namespace Platform
