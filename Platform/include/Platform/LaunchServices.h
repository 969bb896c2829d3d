// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace Platform {

using OSStatus = std::int32_t;
inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus fnfErr = -43;           // the file does not exist
inline constexpr OSStatus kLSUnknownErr = -10810; // the application could not be started

// A file-system reference: the path and the file's identity when the reference was made.
struct FSRef {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
};

// None when the path does not exist. The reference holds the path made absolute.
std::optional<FSRef> FSPathMakeRef(const std::string& path);
// An opaque alias record of ours: a byte record holding the path, device and inode. Layout, all
// integers big-endian so a stored record reads the same on any machine:
//   0  4 bytes  magic "CBAL"
//   4  uint16   version, 1
//   6  uint64   device (st_dev)
//  14  uint64   inode (st_ino)
//  22  uint32   path length N
//  26  N bytes  the absolute path, UTF-8, no terminator
// None when the reference holds no path.
std::optional<std::vector<std::uint8_t>> FSNewAlias(const FSRef& target);

enum LSLaunchFlags : std::uint32_t {
    kLSLaunchDontAddToRecents = 0x100,
    kLSLaunchDontSwitch = 0x200,
    kLSLaunchNoParams = 0x800,
};

class LaunchServices {
public:
    virtual ~LaunchServices() = default;
    // Starts the application bundle (or executable) at app, detached. With kLSLaunchDontSwitch
    // the new application is not brought to the front.
    virtual OSStatus LSOpenFromRefSpec(const FSRef& app, std::uint32_t launchFlags) = 0;
};

} // namespace Platform
