// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/DBusNotificationCenter.h"

#include "DBusNotificationWire.h"
#include "DBusSubscription.h"
#include "Platform/Log.h"
#include "PlistDBus.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <algorithm>

namespace Platform {

namespace {

constexpr int flushTimeoutMs = 2000;

// The bus handles one connection's messages in order: once it answers a ping, every signal sent
// before has been routed to its receivers.
void waitUntilBusHasPosts(QDBusConnection bus)
{
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                "org.freedesktop.DBus.Peer", "Ping"),
                 QDBus::Block, flushTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        NSLog("the D-Bus session bus did not confirm a distributed notification: " +
              reply.errorMessage().toStdString());
}

} // namespace

DBusNotificationCenter::DBusNotificationCenter() : mSubscriptionParent(std::make_unique<QObject>()) {}

DBusNotificationCenter::~DBusNotificationCenter()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    for (DBusSubscription* subscription : mSubscriptions)
        subscription->detach(bus);
}

bool DBusNotificationCenter::busReachable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        return true;
    if (!mReportedUnreachable.exchange(true))
        NSLog("cannot reach the D-Bus session bus (" + bus.lastError().message().toStdString() +
              "); distributed notifications are neither posted nor received");
    return false;
}

void DBusNotificationCenter::addObserver(const void* observer, Handler selector,
                                         std::optional<std::string> name, std::optional<std::string> object)
{
    if (!busReachable())
        return;
    auto* subscription = new DBusSubscription(observer, std::move(selector), std::move(name),
                                              std::move(object), mSubscriptionParent.get());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!subscription->attach(bus)) {
        NSLog("cannot observe distributed notifications: " + bus.lastError().message().toStdString());
        delete subscription;
        return;
    }
    mSubscriptions.push_back(subscription);
}

void DBusNotificationCenter::removeObserver(const void* observer, const std::optional<std::string>& name,
                                            const std::optional<std::string>& object)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const auto removed = std::stable_partition(mSubscriptions.begin(), mSubscriptions.end(),
                                               [&](auto* s) { return !s->matches(observer, name, object); });
    for (auto it = removed; it != mSubscriptions.end(); ++it) {
        (*it)->detach(bus);
        (*it)->cancel();
        (*it)->deleteLater(); // it may be calling its handler right now
    }
    mSubscriptions.erase(removed, mSubscriptions.end());
}

void DBusNotificationCenter::postNotificationName(const std::string& name,
                                                  const std::optional<std::string>& object,
                                                  const std::optional<PlistDictionary>& userInfo,
                                                  [[maybe_unused]] bool deliverImmediately)
{
    if (!busReachable())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        DBusNotificationWire::path, DBusNotificationWire::interface, DBusNotificationWire::member);
    signal << QString::fromStdString(name) << QString::fromStdString(object.value_or(std::string()))
           << PlistDBus::toDBus(userInfo.value_or(PlistDictionary()));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.send(signal)) {
        NSLog("cannot post the distributed notification \"" + name +
              "\": " + bus.lastError().message().toStdString());
        return;
    }
    waitUntilBusHasPosts(bus);
}

} // namespace Platform
