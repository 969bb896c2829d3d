// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/NotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

namespace Platform {

// One observer registration: a bus match on the notification signal, filtered on arg0 (name) and
// arg1 (object) when given, calling the handler in this object's (the main) thread.
class DBusSubscription : public QObject {
    Q_OBJECT
public:
    DBusSubscription(const void* observer, NotificationCenter::Handler handler,
                     std::optional<std::string> name, std::optional<std::string> object, QObject* parent);

    bool attach(QDBusConnection bus);
    void detach(QDBusConnection bus);
    // After cancel the handler is never called again, even for a message already queued.
    void cancel() { mHandler = nullptr; }
    bool matches(const void* observer, const std::optional<std::string>& name,
                 const std::optional<std::string>& object) const;

public slots:
    void deliver(const QDBusMessage& message);

private:
    QStringList argumentMatch() const;

    const void* mObserver;
    NotificationCenter::Handler mHandler;
    std::optional<std::string> mName;
    std::optional<std::string> mObject;
};

} // namespace Platform
