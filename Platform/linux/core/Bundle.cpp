// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Bundle.h"

#include "BundleLayout.h"
#include "Platform/Log.h"

#include <dlfcn.h>
#include <link.h>

#include <map>
#include <mutex>

namespace Platform {
namespace {

namespace fs = std::filesystem;

std::mutex gRegistryMutex;
std::map<std::string, std::shared_ptr<Bundle>> gRegistry; // guarded by gRegistryMutex
std::mutex gInfoMutex;                                    // guards every Bundle's first read of Info.plist

std::optional<fs::path> executablePath()
{
    std::error_code error;
    auto path = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    return path;
}

std::shared_ptr<Bundle> bundleOfCode(const fs::path& file)
{
    return Bundle::bundleWithPath(bundleEnclosingCode(file).value_or(file.parent_path()).string());
}

} // namespace

Bundle::Bundle(std::string path) : mPath(std::move(path)) {}

std::shared_ptr<Bundle> Bundle::bundleWithPath(const std::string& path)
{
    std::error_code error;
    const auto canonical = fs::canonical(path, error);
    if (error || !fs::is_directory(canonical, error))
        return nullptr;
    std::lock_guard lock(gRegistryMutex);
    auto& bundle = gRegistry[canonical.string()];
    if (!bundle)
        bundle = std::make_shared<Bundle>(canonical.string());
    return bundle;
}

std::shared_ptr<Bundle> Bundle::mainBundle()
{
    const auto executable = executablePath();
    if (!executable) {
        NSLog("cannot read /proc/self/exe; the running program has no main bundle");
        return nullptr;
    }
    return bundleOfCode(*executable);
}

std::shared_ptr<Bundle> Bundle::bundleContainingAddress(const void* address)
{
    Dl_info info{};
    link_map* map = nullptr;
    if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP))
        return nullptr;
    // The main program's link map has an empty name.
    if (map && map->l_name && *map->l_name) {
        std::error_code error;
        const auto object = fs::weakly_canonical(map->l_name, error);
        return error ? nullptr : bundleOfCode(object);
    }
    const auto executable = executablePath();
    return executable ? bundleOfCode(*executable) : nullptr;
}

std::optional<std::string> Bundle::pathForResourceOfTypeInDirectory(const std::string& name,
                                                                    const std::string& type,
                                                                    const std::string& bundlePath)
{
    const auto file =
        fs::path(bundlePath) / "Contents" / "Resources" / (type.empty() ? name : name + '.' + type);
    std::error_code error;
    if (!fs::exists(file, error))
        return std::nullopt;
    return file.string();
}

const PlistDictionary& Bundle::infoDictionary() const
{
    std::lock_guard lock(gInfoMutex);
    if (!mInfo) {
        const auto file = fs::path(mPath) / "Contents" / "Info.plist";
        auto value = readPropertyListFile(file);
        if (auto dictionary = value ? value->getIf<PlistDictionary>() : nullptr) {
            mInfo = std::move(*dictionary);
        } else {
            std::error_code error;
            if (fs::exists(file, error))
                NSLog("cannot read " + file.string() +
                      " as a property-list dictionary; the bundle has no information");
            mInfo.emplace();
        }
    }
    return *mInfo;
}

std::optional<std::string> Bundle::bundleIdentifier() const
{
    const auto& info = infoDictionary();
    const auto it = info.find("CFBundleIdentifier");
    if (it == info.end())
        return std::nullopt;
    if (auto s = it->second.getIf<std::string>())
        return *s;
    return std::nullopt;
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type) const
{
    return pathForResourceOfTypeInDirectory(name, type, mPath);
}

} // namespace Platform
