// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Preferences.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

namespace Platform {

// The login items, "AutoLaunchedApplicationDictionary" of the "loginwindow" domain, kept as the
// freedesktop autostart folder so that an item really starts at the next login.
//
// Each *.desktop file of the folder is one entry of the list, in file-name order, and carries its
// file's name under "AutostartFile". Files we write hold "Path", "AliasData" and "Hide" as
// X-Cuebolt-Path, X-Cuebolt-AliasData (hex) and X-Cuebolt-Hide, and start the bundle's executable
// (X.app/Contents/MacOS/<CFBundleExecutable>); other programs' files are presented with "Path" =
// the program their Exec line starts and are never rewritten.
//
// Writing the list (on CFPreferencesSynchronize) creates a file for each entry without an
// existing "AutostartFile", rewrites our own files whose entry changed, and removes the files of
// entries no longer in the list. Reads always look at the folder, overlaid by a pending write.
class AutostartLoginItems : public PreferenceStore {
public:
    static constexpr const char* kDomain = "loginwindow";
    static constexpr const char* kLoginItemsKey = "AutoLaunchedApplicationDictionary";
    static constexpr const char* kFileKey = "AutostartFile";

    explicit AutostartLoginItems(std::filesystem::path directory = defaultDirectory());

    // ${XDG_CONFIG_HOME:-$HOME/.config}/autostart
    static std::filesystem::path defaultDirectory();

    std::optional<PlistValue> CFPreferencesCopyValue(const std::string& key,
                                                     const std::string& domain) override;
    void CFPreferencesSetValue(const std::string& key, std::optional<PlistValue> value,
                               const std::string& domain) override;
    bool CFPreferencesSynchronize(const std::string& domain) override;

private:
    bool isLoginItemsKey(const std::string& key, const std::string& domain) const;
    std::map<std::string, PlistDictionary> presentedEntries() const;
    bool writeEntry(const std::string& fileName, const PlistDictionary& entry) const;
    bool writeList(const PlistArray& list) const;

    std::filesystem::path mDirectory;
    std::mutex mMutex;
    std::optional<PlistArray> mPending; // guarded by mMutex
};

} // namespace Platform
