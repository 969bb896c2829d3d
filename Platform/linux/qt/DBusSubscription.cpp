// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "DBusSubscription.h"

#include "DBusNotificationWire.h"
#include "Platform/Log.h"
#include "PlistDBus.h"

namespace Platform {

namespace {

QString toQString(const std::optional<std::string>& s)
{
    return s ? QString::fromStdString(*s) : QString(); // a null QString matches any argument
}

bool isString(const QVariant& v)
{
    return v.typeId() == QMetaType::QString;
}

} // namespace

DBusSubscription::DBusSubscription(const void* observer, NotificationCenter::Handler handler,
                                   std::optional<std::string> name, std::optional<std::string> object,
                                   QObject* parent)
    : QObject(parent), mObserver(observer), mHandler(std::move(handler)), mName(std::move(name)),
      mObject(std::move(object))
{
}

QStringList DBusSubscription::argumentMatch() const
{
    if (mObject)
        return {toQString(mName), toQString(mObject)};
    if (mName)
        return {toQString(mName)};
    return {};
}

bool DBusSubscription::attach(QDBusConnection bus)
{
    return bus.connect(QString(), DBusNotificationWire::path, DBusNotificationWire::interface,
                       DBusNotificationWire::member, argumentMatch(), QString(), this,
                       SLOT(deliver(QDBusMessage)));
}

void DBusSubscription::detach(QDBusConnection bus)
{
    bus.disconnect(QString(), DBusNotificationWire::path, DBusNotificationWire::interface,
                   DBusNotificationWire::member, argumentMatch(), QString(), this,
                   SLOT(deliver(QDBusMessage)));
}

bool DBusSubscription::matches(const void* observer, const std::optional<std::string>& name,
                               const std::optional<std::string>& object) const
{
    return observer == mObserver && (!name || name == mName) && (!object || object == mObject);
}

void DBusSubscription::deliver(const QDBusMessage& message)
{
    if (!mHandler)
        return;
    const QVariantList args = message.arguments();
    std::optional<PlistDictionary> userInfo;
    if (args.size() == 3 && isString(args[0]) && isString(args[1]))
        userInfo = PlistDBus::dictionaryFromDBus(args[2]);
    if (!userInfo) {
        NSLog("ignoring a distributed notification from " + message.service().toStdString() +
              " with arguments (" + message.signature().toStdString() +
              "); expected (s name, s object, a{sv} userInfo)");
        return;
    }
    Notification notification{args[0].toString().toStdString(), std::nullopt, std::move(*userInfo)};
    if (const QString object = args[1].toString(); !object.isEmpty())
        notification.object = object.toStdString();
    // The handler may remove this registration; the centre then deletes it later, not now.
    const auto handler = mHandler;
    handler(notification);
}

} // namespace Platform
