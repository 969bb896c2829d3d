// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <filesystem>
#include <optional>

namespace Platform {

// The bundle directory B when file lies in B/Contents/MacOS/, else none.
inline std::optional<std::filesystem::path> bundleEnclosingCode(const std::filesystem::path& file)
{
    const auto macOS = file.parent_path();
    const auto contents = macOS.parent_path();
    if (macOS.filename() != "MacOS" || contents.filename() != "Contents" || !contents.has_parent_path())
        return std::nullopt;
    return contents.parent_path();
}

} // namespace Platform
