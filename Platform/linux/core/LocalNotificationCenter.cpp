// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/LocalNotificationCenter.h"

#include <algorithm>

namespace Platform {
namespace {

// A registration for none answers to anything; a filter of none matches every registration.
bool registrationAccepts(const std::optional<std::string>& registered,
                         const std::optional<std::string>& posted)
{
    return !registered || registered == posted;
}

bool filterMatches(const std::optional<std::string>& filter, const std::optional<std::string>& registered)
{
    return !filter || filter == registered;
}

} // namespace

void LocalNotificationCenter::addObserver(const void* observer, Handler selector,
                                          std::optional<std::string> name, std::optional<std::string> object)
{
    std::lock_guard lock(mMutex);
    mRegistrations.push_back({observer, std::move(selector), std::move(name), std::move(object)});
}

void LocalNotificationCenter::removeObserver(const void* observer, const std::optional<std::string>& name,
                                             const std::optional<std::string>& object)
{
    std::lock_guard lock(mMutex);
    std::erase_if(mRegistrations, [&](const Registration& r) {
        return r.observer == observer && filterMatches(name, r.name) && filterMatches(object, r.object);
    });
}

void LocalNotificationCenter::postNotificationName(
    const std::string& name, const std::optional<std::string>& object,
    const std::optional<PlistDictionary>& userInfo,
    bool /*deliverImmediately: delivery is always immediate here*/)
{
    // Handlers run unlocked and from a copy, so they may add or remove observers themselves.
    std::vector<Handler> handlers;
    {
        std::lock_guard lock(mMutex);
        for (const auto& r : mRegistrations)
            if (registrationAccepts(r.name, name) && registrationAccepts(r.object, object))
                handlers.push_back(r.handler);
    }
    const Notification notification{name, object, userInfo.value_or(PlistDictionary{})};
    for (const auto& handler : handlers)
        handler(notification);
}

} // namespace Platform
