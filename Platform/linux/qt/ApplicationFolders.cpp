// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ApplicationFolders.h"

#include "Platform/PropertyList.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace Platform::ApplicationFolders {

namespace {

bool isBundleExtension(const fs::path& extension)
{
    return extension == ".app" || extension == ".prefPane" || extension == ".bundle";
}

std::optional<std::string> infoString(const fs::path& bundle, const std::string& key)
{
    const auto info = readPropertyListFile(bundle / "Contents" / "Info.plist");
    const auto* dictionary = info ? info->getIf<PlistDictionary>() : nullptr;
    if (!dictionary)
        return std::nullopt;
    const auto it = dictionary->find(key);
    const auto* value = it == dictionary->end() ? nullptr : it->second.getIf<std::string>();
    return value ? std::optional(*value) : std::nullopt;
}

std::vector<fs::path> applicationBundlesIn(const fs::path& folder)
{
    std::vector<fs::path> bundles;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".app" && it->is_directory(error))
            bundles.push_back(it->path());
    std::sort(bundles.begin(), bundles.end());
    return bundles;
}

} // namespace

std::vector<fs::path> standardFolders()
{
    std::vector<fs::path> folders;
    if (const char* home = std::getenv("HOME"); home && *home)
        folders.push_back(fs::path(home) / "Applications");
    folders.emplace_back("/Applications");
    folders.emplace_back("/usr/local/Applications");
    return folders;
}

std::vector<fs::path> foldersOfEnclosingBundles()
{
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    std::vector<fs::path> folders;
    for (fs::path p = executable.parent_path(); !error && p.has_relative_path(); p = p.parent_path())
        if (isBundleExtension(p.extension()))
            folders.push_back(p.parent_path());
    return folders;
}

std::optional<fs::path> findBundleNamed(const std::string& name, const std::vector<fs::path>& folders)
{
    if (name.empty() || name.find('/') != std::string::npos)
        return std::nullopt;
    for (const fs::path& folder : folders) {
        std::error_code error;
        const fs::path candidate = folder / (name + ".app");
        if (fs::is_directory(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

std::optional<fs::path> findBundleWithIdentifier(const std::string& bundleIdentifier,
                                                 const std::vector<fs::path>& folders)
{
    for (const fs::path& folder : folders)
        for (const fs::path& bundle : applicationBundlesIn(folder))
            if (infoString(bundle, "CFBundleIdentifier") == bundleIdentifier)
                return bundle;
    return std::nullopt;
}

fs::path executableOfBundle(const fs::path& bundle)
{
    const std::string name = infoString(bundle, "CFBundleExecutable").value_or(bundle.stem().string());
    return bundle / "Contents" / "MacOS" / name;
}

} // namespace Platform::ApplicationFolders
