// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace Platform::ApplicationFolders {

// $HOME/Applications, /Applications, /usr/local/Applications.
std::vector<std::filesystem::path> standardFolders();
// The folders holding each bundle around the running executable, innermost first.
std::vector<std::filesystem::path> foldersOfEnclosingBundles();

// <name>.app in the first folder that has it.
std::optional<std::filesystem::path> findBundleNamed(const std::string& name,
                                                     const std::vector<std::filesystem::path>& folders);
// The first *.app (folders in order, names sorted) whose Info.plist has that CFBundleIdentifier.
std::optional<std::filesystem::path>
findBundleWithIdentifier(const std::string& bundleIdentifier,
                         const std::vector<std::filesystem::path>& folders);
// The bundle's executable: Contents/MacOS/<CFBundleExecutable, else the bundle's name>.
std::filesystem::path executableOfBundle(const std::filesystem::path& bundle);

} // namespace Platform::ApplicationFolders
