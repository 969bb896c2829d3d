// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PreferenceFile.h"

#include "Platform/Log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {
namespace {

namespace fs = std::filesystem;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : mFd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    int get() const { return mFd; }
    int release() { return std::exchange(mFd, -1); }

private:
    int mFd;
};

std::string errorText()
{
    return std::strerror(errno);
}

bool readAll(int fd, std::vector<std::uint8_t>& bytes)
{
    std::uint8_t buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string utcTimestamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

bool makeDirectory(const fs::path& directory)
{
    std::error_code error;
    if (directory.has_parent_path())
        fs::create_directories(directory.parent_path(), error);
    if (error) {
        NSLog("cannot create " + directory.parent_path().string() + ": " + error.message() +
              "; preferences are not saved");
        return false;
    }
    if (::mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) {
        NSLog("cannot create " + directory.string() + ": " + errorText() + "; preferences are not saved");
        return false;
    }
    return true;
}

} // namespace

PreferenceFile::Lock::~Lock()
{
    if (mFd >= 0)
        ::close(mFd); // closing the last descriptor releases the flock
}

PreferenceFile::PreferenceFile(const fs::path& directory, const std::string& domain)
    : mDirectory(directory), mPath(directory / (domain + ".plist")),
      mLockPath(directory / (domain + ".plist.lock")), mTempPath(directory / (domain + ".plist.tmp"))
{
}

bool PreferenceFile::exists() const
{
    struct stat info {};
    return ::stat(mPath.c_str(), &info) == 0;
}

std::optional<PreferenceFile::Lock> PreferenceFile::lock(bool createDirectory) const
{
    if (createDirectory && !makeDirectory(mDirectory))
        return std::nullopt;
    FileDescriptor fd(::open(mLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (fd.get() < 0) {
        NSLog("cannot open the lock file " + mLockPath.string() + ": " + errorText());
        return std::nullopt;
    }
    while (::flock(fd.get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            NSLog("cannot lock " + mLockPath.string() + ": " + errorText());
            return std::nullopt;
        }
    }
    return Lock(fd.release());
}

std::optional<PlistDictionary> PreferenceFile::read(const Lock& /*held*/) const
{
    FileDescriptor fd(::open(mPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return PlistDictionary{};
        NSLog("cannot read the preference file " + mPath.string() + ": " + errorText());
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    if (!readAll(fd.get(), bytes)) {
        NSLog("cannot read the preference file " + mPath.string() + ": " + errorText());
        return std::nullopt;
    }
    auto value = parsePropertyList(bytes);
    if (auto dictionary = value ? value->getIf<PlistDictionary>() : nullptr)
        return std::move(*dictionary);
    if (!moveAside())
        return std::nullopt;
    return PlistDictionary{};
}

bool PreferenceFile::moveAside() const
{
    const std::string base = mPath.string() + ".damaged-" + utcTimestamp();
    std::string aside = base;
    // Never replace an earlier damaged copy taken in the same second.
    for (int attempt = 2;
         ::renameat2(AT_FDCWD, mPath.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) != 0; ++attempt) {
        if (errno != EEXIST || attempt > 100) {
            NSLog("the preference file " + mPath.string() + " is damaged and cannot be moved aside to " +
                  aside + ": " + errorText() + "; it is left as it is and not written");
            return false;
        }
        aside = base + '-' + std::to_string(attempt);
    }
    NSLog("the preference file " + mPath.string() + " is not a property-list dictionary; moved it aside to " +
          aside + " and started the domain empty");
    return true;
}

bool PreferenceFile::write(const PlistDictionary& contents, const Lock& /*held*/) const
{
    const auto bytes = serializePropertyList(PlistValue(contents), PlistFormat::Xml);
    FileDescriptor fd(::open(mTempPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    const auto fail = [&](const std::string& what) {
        NSLog("cannot save the preference file " + mPath.string() + " (" + what + "): " + errorText());
        ::unlink(mTempPath.c_str());
        return false;
    };
    if (fd.get() < 0)
        return fail("creating " + mTempPath.string());
    // A temp file left by a killed writer may carry another mode.
    if (::fchmod(fd.get(), 0600) != 0 || !writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0)
        return fail("writing " + mTempPath.string());
    if (::close(fd.release()) != 0)
        return fail("closing " + mTempPath.string());
    if (::rename(mTempPath.c_str(), mPath.c_str()) != 0)
        return fail("renaming " + mTempPath.string());
    FileDescriptor directory(::open(mDirectory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0 || ::fsync(directory.get()) != 0) {
        NSLog("cannot flush the directory " + mDirectory.string() + ": " + errorText());
        return false;
    }
    return true;
}

} // namespace Platform
