// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "MemoryPreferenceStore.h"

namespace Doubles {

std::optional<Platform::PlistValue> MemoryPreferenceStore::CFPreferencesCopyValue(const std::string& key,
                                                                                  const std::string& domain)
{
    if (auto d = mPending.find(domain); d != mPending.end())
        if (auto k = d->second.find(key); k != d->second.end())
            return k->second;
    return onDisk(key, domain);
}

void MemoryPreferenceStore::CFPreferencesSetValue(const std::string& key, std::optional<Platform::PlistValue> value,
                                                  const std::string& domain)
{
    mPending[domain][key] = std::move(value);
}

bool MemoryPreferenceStore::CFPreferencesSynchronize(const std::string& domain)
{
    ++mSynchronizeCount;
    for (auto& [key, value] : mPending[domain]) {
        if (value)
            mDisk[domain][key] = *value;
        else
            mDisk[domain].erase(key);
    }
    mPending.erase(domain);
    return true;
}

void MemoryPreferenceStore::storeOnDisk(const std::string& key, Platform::PlistValue value, const std::string& domain)
{
    mDisk[domain][key] = std::move(value);
}

std::optional<Platform::PlistValue> MemoryPreferenceStore::onDisk(const std::string& key,
                                                                  const std::string& domain) const
{
    auto d = mDisk.find(domain);
    if (d == mDisk.end())
        return std::nullopt;
    auto k = d->second.find(key);
    if (k == d->second.end())
        return std::nullopt;
    return k->second;
}

} // namespace Doubles
