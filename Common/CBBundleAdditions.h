// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Bundle.h"

#include <optional>
#include <string>

// A bundle's version in two senses: as loaded into this process, and as the copy on disk is now.
// They differ when a newer copy was installed over a running one.
namespace CBBundleAdditions {

// "CFBundleVersion" of the information dictionary read when the bundle was first opened.
std::optional<std::string> bundleVersion(const Platform::Bundle& bundle);
// "CFBundleVersion" of <bundlePath>/Contents/Info.plist, read afresh at every call.
std::optional<std::string> unCachedBundleVersion(const Platform::Bundle& bundle);

} // namespace CBBundleAdditions
