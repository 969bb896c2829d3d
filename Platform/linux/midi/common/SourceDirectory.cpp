// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "common/SourceDirectory.h"

#include <set>

namespace Platform {

void SourceDirectory::update(const std::vector<std::string>& keys)
{
    const std::set<std::string> present(keys.begin(), keys.end());
    for (auto it = mRefsByKey.begin(); it != mRefsByKey.end();) {
        if (present.contains(it->first)) {
            ++it;
            continue;
        }
        mKeysByRef.erase(it->second);
        it = mRefsByKey.erase(it);
    }
    mListed.clear();
    for (const std::string& key : keys)
        mListed.push_back(refFor(key));
}

std::optional<MIDIEndpointRef> SourceDirectory::at(std::size_t index) const
{
    if (index >= mListed.size())
        return std::nullopt;
    return mListed[index];
}

MIDIEndpointRef SourceDirectory::refFor(const std::string& key)
{
    const auto [it, inserted] = mRefsByKey.try_emplace(key, mNextRef);
    if (inserted) {
        mKeysByRef.emplace(mNextRef, key);
        ++mNextRef;
    }
    return it->second;
}

std::optional<std::string> SourceDirectory::keyOf(MIDIEndpointRef ref) const
{
    const auto it = mKeysByRef.find(ref);
    if (it == mKeysByRef.end())
        return std::nullopt;
    return it->second;
}

} // namespace Platform
