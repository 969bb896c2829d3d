// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/NotificationCenter.h"

#include <atomic>
#include <memory>
#include <vector>

class QObject;

namespace Platform {

class DBusSubscription;

// The distributed notification centre on the D-Bus session bus. A notification is the signal
// com.plexwerk.DistributedNotificationCenter.Notification at /com/plexwerk/DistributedNotificationCenter
// with the arguments (s name, s object, a{sv} userInfo); no object travels as "" and arrives as
// none, no user info as an empty dictionary. The bus filters observers on arg0 (name) and arg1
// (object). User info values: string s, data ay, integer x, real d, boolean b, array av,
// dictionary a{sv}; a date travels as d, seconds since 2001-01-01 00:00 UTC, and so arrives as a
// real. Every post is delivered at once (D-Bus has nothing to suspend), to this process too.
// Create and destroy it, add and remove observers on the main thread once the Qt application
// exists; post from any thread. Handlers run on the main thread. A post has reached the bus when
// it returns, so a process may exit right after posting. Without a session bus it logs once and
// does nothing.
class DBusNotificationCenter : public NotificationCenter {
public:
    using NotificationCenter::postNotificationName;
    using NotificationCenter::removeObserver;

    DBusNotificationCenter();
    ~DBusNotificationCenter() override;

    void addObserver(const void* observer, Handler selector, std::optional<std::string> name,
                     std::optional<std::string> object) override;
    void removeObserver(const void* observer, const std::optional<std::string>& name,
                        const std::optional<std::string>& object) override;
    void postNotificationName(const std::string& name, const std::optional<std::string>& object,
                              const std::optional<PlistDictionary>& userInfo,
                              bool deliverImmediately) override;

private:
    bool busReachable();

    // Subscriptions are Qt children of this object: one removed from inside its own handler is
    // deleted later, the rest go with the centre.
    std::unique_ptr<QObject> mSubscriptionParent;
    std::vector<DBusSubscription*> mSubscriptions;
    std::atomic<bool> mReportedUnreachable = false;
};

} // namespace Platform
