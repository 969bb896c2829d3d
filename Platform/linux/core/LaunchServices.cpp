// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/LaunchServices.h"

#include <filesystem>
#include <limits>
#include <sys/stat.h>

namespace Platform {
namespace {

constexpr std::uint16_t aliasVersion = 1;

template <class T> void appendBigEndian(std::vector<std::uint8_t>& out, T value)
{
    for (int shift = (sizeof(T) - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> shift));
}

} // namespace

std::optional<FSRef> FSPathMakeRef(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    std::error_code error;
    auto absolute = std::filesystem::absolute(path, error);
    if (error)
        return std::nullopt;
    return FSRef{absolute.lexically_normal().string(), info.st_dev, info.st_ino};
}

std::optional<std::vector<std::uint8_t>> FSNewAlias(const FSRef& target)
{
    if (target.path.empty() || target.path.size() > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    std::vector<std::uint8_t> record{'C', 'B', 'A', 'L'};
    appendBigEndian(record, aliasVersion);
    appendBigEndian(record, static_cast<std::uint64_t>(target.device));
    appendBigEndian(record, static_cast<std::uint64_t>(target.inode));
    appendBigEndian(record, static_cast<std::uint32_t>(target.path.size()));
    record.insert(record.end(), target.path.begin(), target.path.end());
    return record;
}

} // namespace Platform
