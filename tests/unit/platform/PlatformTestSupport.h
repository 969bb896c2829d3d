// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "TemporaryDirectory.h"

#include "Platform/PropertyList.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

namespace PlatformTest {

using TestSupport::TemporaryDirectory;

namespace fs = std::filesystem;

inline void writeFile(const fs::path& path, const std::string& contents)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

inline void writeFile(const fs::path& path, const std::vector<std::uint8_t>& contents)
{
    writeFile(path, std::string(contents.begin(), contents.end()));
}

inline std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeInfoPlist(const fs::path& bundle, const Platform::PlistDictionary& info)
{
    writeFile(bundle / "Contents" / "Info.plist",
              Platform::serializePropertyList(info, Platform::PlistFormat::Xml));
}

// <parent>/<name> with Contents/Info.plist (when given) and the probe copied to Contents/MacOS/<executable>.
inline fs::path makeBundle(const fs::path& parent, const std::string& name,
                           const std::optional<Platform::PlistDictionary>& info,
                           const std::string& executable)
{
    const auto bundle = parent / name;
    fs::create_directories(bundle / "Contents" / "MacOS");
    if (info)
        writeInfoPlist(bundle, *info);
    fs::copy_file(CUEBOLT_PLATFORM_PROBE, bundle / "Contents" / "MacOS" / executable);
    fs::permissions(bundle / "Contents" / "MacOS" / executable, fs::perms::owner_all);
    return bundle;
}

template <class Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace PlatformTest
