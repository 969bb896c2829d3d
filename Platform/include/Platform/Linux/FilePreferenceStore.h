// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Preferences.h"

#include <filesystem>
#include <map>
#include <mutex>

namespace Platform {

// Preferences kept as one property-list dictionary per domain, <directory>/<domain>.plist (XML,
// mode 0600, directory 0700). Reads come from a per-domain cache loaded at first use, overlaid by
// this process's pending writes; CFPreferencesSynchronize merges the pending keys into the file
// under an advisory lock and refreshes the cache with what other processes wrote.
class FilePreferenceStore : public PreferenceStore {
public:
    explicit FilePreferenceStore(std::filesystem::path directory = defaultDirectory());

    // ${XDG_CONFIG_HOME:-$HOME/.config}/preferences
    static std::filesystem::path defaultDirectory();

    std::optional<PlistValue> CFPreferencesCopyValue(const std::string& key,
                                                     const std::string& domain) override;
    void CFPreferencesSetValue(const std::string& key, std::optional<PlistValue> value,
                               const std::string& domain) override;
    bool CFPreferencesSynchronize(const std::string& domain) override;

private:
    struct Domain {
        bool loaded = false;
        PlistDictionary contents;
        std::map<std::string, std::optional<PlistValue>> pending; // none = remove
    };

    Domain& loadedDomain(const std::string& name);

    std::filesystem::path mDirectory;
    std::mutex mMutex;
    std::map<std::string, Domain> mDomains; // guarded by mMutex
};

} // namespace Platform
