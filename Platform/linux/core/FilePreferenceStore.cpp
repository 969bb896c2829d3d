// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/FilePreferenceStore.h"

#include "Platform/Log.h"
#include "PreferenceFile.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace Platform {
namespace {

namespace fs = std::filesystem;

// A domain names a file in the store's directory and nothing else.
bool isValidDomain(const std::string& domain)
{
    if (!domain.empty() && domain.front() != '.' && domain.find('/') == std::string::npos &&
        domain.find('\0') == std::string::npos)
        return true;
    NSLog("refusing the preference domain \"" + domain +
          "\": a domain may not be empty, contain '/' or start with '.'");
    return false;
}

std::string homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    NSLog("neither $HOME nor the password database names a home directory; preferences go under the current "
          "directory");
    return ".";
}

} // namespace

FilePreferenceStore::FilePreferenceStore(fs::path directory) : mDirectory(std::move(directory)) {}

fs::path FilePreferenceStore::defaultDirectory()
{
    // The base directory specification ignores a relative $XDG_CONFIG_HOME.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return fs::path(config) / "preferences";
    return fs::path(homeDirectory()) / ".config" / "preferences";
}

FilePreferenceStore::Domain& FilePreferenceStore::loadedDomain(const std::string& name)
{
    auto& domain = mDomains[name];
    if (domain.loaded)
        return domain;
    domain.loaded = true;
    const PreferenceFile file(mDirectory, name);
    if (!file.exists())
        return domain;
    // Read under the lock so a damaged file is never moved aside while another process replaces it.
    if (const auto lock = file.lock(false))
        domain.contents = file.read(*lock).value_or(PlistDictionary{});
    return domain;
}

std::optional<PlistValue> FilePreferenceStore::CFPreferencesCopyValue(const std::string& key,
                                                                      const std::string& domainName)
{
    if (!isValidDomain(domainName))
        return std::nullopt;
    std::lock_guard guard(mMutex);
    const auto& domain = loadedDomain(domainName);
    if (const auto pending = domain.pending.find(key); pending != domain.pending.end())
        return pending->second;
    if (const auto stored = domain.contents.find(key); stored != domain.contents.end())
        return stored->second;
    return std::nullopt;
}

void FilePreferenceStore::CFPreferencesSetValue(const std::string& key, std::optional<PlistValue> value,
                                                const std::string& domainName)
{
    if (!isValidDomain(domainName))
        return;
    std::lock_guard guard(mMutex);
    mDomains[domainName].pending.insert_or_assign(key, std::move(value));
}

bool FilePreferenceStore::CFPreferencesSynchronize(const std::string& domainName)
{
    if (!isValidDomain(domainName))
        return false;
    std::lock_guard guard(mMutex);
    auto& domain = mDomains[domainName];
    const PreferenceFile file(mDirectory, domainName);
    const bool writing = !domain.pending.empty();
    if (!writing && !file.exists()) {
        domain.contents.clear();
        domain.loaded = true;
        return true;
    }
    const auto lock = file.lock(writing);
    if (!lock)
        return false;
    auto contents = file.read(*lock);
    if (!contents)
        return false;
    if (writing) {
        for (const auto& [key, value] : domain.pending) {
            if (value)
                contents->insert_or_assign(key, *value);
            else
                contents->erase(key);
        }
        if (!file.write(*contents, *lock))
            return false;
        domain.pending.clear();
    }
    domain.contents = std::move(*contents);
    domain.loaded = true;
    return true;
}

} // namespace Platform
