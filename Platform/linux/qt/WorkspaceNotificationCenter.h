// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/LocalNotificationCenter.h"

#include <functional>

namespace Platform {

// The workspace's local centre; the first observer starts the application watcher.
class WorkspaceNotificationCenter : public LocalNotificationCenter {
public:
    explicit WorkspaceNotificationCenter(std::function<void()> observerAdded)
        : mObserverAdded(std::move(observerAdded))
    {
    }

    void addObserver(const void* observer, Handler selector, std::optional<std::string> name,
                     std::optional<std::string> object) override
    {
        LocalNotificationCenter::addObserver(observer, std::move(selector), std::move(name),
                                             std::move(object));
        mObserverAdded();
    }

private:
    std::function<void()> mObserverAdded;
};

} // namespace Platform
