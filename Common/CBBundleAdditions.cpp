// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CBBundleAdditions.h"

namespace CBBundleAdditions {

namespace {

std::optional<std::string> versionIn(const Platform::PlistDictionary& info)
{
    auto it = info.find("CFBundleVersion");
    if (it == info.end())
        return std::nullopt;
    if (const auto* version = it->second.getIf<std::string>())
        return *version;
    return std::nullopt;
}

} // namespace

std::optional<std::string> bundleVersion(const Platform::Bundle& bundle)
{
    return versionIn(bundle.infoDictionary());
}

std::optional<std::string> unCachedBundleVersion(const Platform::Bundle& bundle)
{
    const auto info = Platform::readPropertyListFile(bundle.bundlePath() + "/Contents/Info.plist");
    if (!info)
        return std::nullopt;
    const auto* dictionary = info->getIf<Platform::PlistDictionary>();
    return dictionary ? versionIn(*dictionary) : std::nullopt;
}

} // namespace CBBundleAdditions
