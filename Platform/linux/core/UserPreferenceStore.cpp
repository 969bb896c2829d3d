// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/UserPreferenceStore.h"

namespace Platform {

UserPreferenceStore::UserPreferenceStore(std::filesystem::path preferencesDirectory,
                                         std::filesystem::path autostartDirectory)
    : mFiles(std::move(preferencesDirectory)), mLoginItems(std::move(autostartDirectory))
{
}

PreferenceStore& UserPreferenceStore::storeFor(const std::string& domain)
{
    if (domain == AutostartLoginItems::kDomain)
        return mLoginItems;
    return mFiles;
}

std::optional<PlistValue> UserPreferenceStore::CFPreferencesCopyValue(const std::string& key,
                                                                      const std::string& domain)
{
    return storeFor(domain).CFPreferencesCopyValue(key, domain);
}

void UserPreferenceStore::CFPreferencesSetValue(const std::string& key, std::optional<PlistValue> value,
                                                const std::string& domain)
{
    storeFor(domain).CFPreferencesSetValue(key, std::move(value), domain);
}

bool UserPreferenceStore::CFPreferencesSynchronize(const std::string& domain)
{
    return storeFor(domain).CFPreferencesSynchronize(domain);
}

} // namespace Platform
