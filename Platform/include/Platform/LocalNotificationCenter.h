// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/NotificationCenter.h"

#include <mutex>
#include <vector>

namespace Platform {

// A process-local centre: a post calls every matching handler at once, on the posting thread.
// The workspace's notification centre is one of these.
class LocalNotificationCenter : public NotificationCenter {
public:
    using NotificationCenter::postNotificationName;
    using NotificationCenter::removeObserver;

    void addObserver(const void* observer, Handler selector, std::optional<std::string> name,
                     std::optional<std::string> object) override;
    void removeObserver(const void* observer, const std::optional<std::string>& name,
                        const std::optional<std::string>& object) override;
    void postNotificationName(const std::string& name, const std::optional<std::string>& object,
                              const std::optional<PlistDictionary>& userInfo,
                              bool deliverImmediately) override;

private:
    struct Registration {
        const void* observer;
        Handler handler;
        std::optional<std::string> name;
        std::optional<std::string> object;
    };
    std::mutex mMutex;
    std::vector<Registration> mRegistrations;
};

} // namespace Platform
