// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace Platform {

// One preference domain's file, <directory>/<domain>.plist, with its lock file beside it.
// Every change replaces the file whole, so a reader sees either the old or the new contents.
class PreferenceFile {
public:
    // The domain's advisory lock (flock on <domain>.plist.lock), held while this object lives.
    class Lock {
    public:
        explicit Lock(int fd) : mFd(fd) {}
        Lock(Lock&& other) noexcept : mFd(std::exchange(other.mFd, -1)) {}
        Lock& operator=(Lock&&) = delete;
        ~Lock();

    private:
        int mFd;
    };

    PreferenceFile(const std::filesystem::path& directory, const std::string& domain);

    const std::filesystem::path& path() const { return mPath; }
    bool exists() const;
    // Waits for the lock; with createDirectory the directory is made (0700) first. None on failure.
    std::optional<Lock> lock(bool createDirectory) const;
    // The stored dictionary; empty when there is no file. A damaged file is moved aside to
    // <domain>.plist.damaged-<UTC time> and reads as empty. None when the file cannot be read.
    std::optional<PlistDictionary> read(const Lock& held) const;
    // Replaces the file: temp file, fsync, rename, fsync of the directory. False on failure.
    bool write(const PlistDictionary& contents, const Lock& held) const;

private:
    bool moveAside() const;

    std::filesystem::path mDirectory;
    std::filesystem::path mPath;
    std::filesystem::path mLockPath;
    // One fixed name, written only under the lock: a writer killed mid-write leaves this one
    // file behind and the next writer reuses it.
    std::filesystem::path mTempPath;
};

} // namespace Platform
