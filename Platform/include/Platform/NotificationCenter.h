// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PropertyList.h"

#include <functional>
#include <optional>
#include <string>

namespace Platform {

struct Notification {
    std::string name;
    std::optional<std::string> object;
    PlistDictionary userInfo;
};

// A notification centre: observers register a handler for a name and an object (none matches
// any). Handlers run on the main thread.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    virtual ~NotificationCenter() = default;

    virtual void addObserver(const void* observer, Handler selector, std::optional<std::string> name,
                             std::optional<std::string> object) = 0;
    // Removes the observer's registrations that match name and object (none matches any).
    virtual void removeObserver(const void* observer, const std::optional<std::string>& name,
                                const std::optional<std::string>& object) = 0;
    void removeObserver(const void* observer) { removeObserver(observer, std::nullopt, std::nullopt); }

    virtual void postNotificationName(const std::string& name, const std::optional<std::string>& object,
                                      const std::optional<PlistDictionary>& userInfo,
                                      bool deliverImmediately) = 0;
    void postNotificationName(const std::string& name, const std::optional<std::string>& object)
    {
        postNotificationName(name, object, std::nullopt, false);
    }
};

} // namespace Platform
