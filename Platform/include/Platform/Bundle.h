// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <memory>
#include <optional>
#include <string>

namespace Platform {

// A bundle directory: Name.ext/Contents/{Info.plist,MacOS/,Resources/}. One instance per path
// and process, so the information dictionary is read once per process.
class Bundle {
public:
    // None when the path is not a directory.
    static std::shared_ptr<Bundle> bundleWithPath(const std::string& path);
    // The bundle of the running executable (its directory when the executable is in no bundle).
    static std::shared_ptr<Bundle> mainBundle();
    // The bundle holding the code at address (dladdr): the executable's or the plug-in's bundle.
    static std::shared_ptr<Bundle> bundleContainingAddress(const void* address);
    // Looks up Contents/Resources/name.type inside the bundle directory.
    static std::optional<std::string> pathForResourceOfTypeInDirectory(const std::string& name,
                                                                       const std::string& type,
                                                                       const std::string& bundlePath);

    const std::string& bundlePath() const { return mPath; }
    std::optional<std::string> bundleIdentifier() const;
    // Read at first use and kept for the life of the process; empty when missing or damaged.
    const PlistDictionary& infoDictionary() const;
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const;

    explicit Bundle(std::string path);

private:
    std::string mPath;
    mutable std::optional<PlistDictionary> mInfo;
};

} // namespace Platform
