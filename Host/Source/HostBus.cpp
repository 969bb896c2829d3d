// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "HostBus.h"

#include "ApplicationService.h"
#include "Platform/Log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QUrl>

namespace HostBus {

namespace {

constexpr int forwardTimeoutMs = 10000;

} // namespace

Registration registerHost(ApplicationService& service)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        NSLog("no session bus (" + bus.lastError().message().toStdString() +
              "); this pane host runs alone and nothing can reach it");
        return Registration::NoBus;
    }
    if (!bus.registerObject(ApplicationService::objectPath, &service, QDBusConnection::ExportAllSlots)) {
        NSLog(std::string("cannot export the pane host at ") + ApplicationService::objectPath +
              "; this pane host runs alone and nothing can reach it");
        return Registration::NoBus;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return Registration::Registered;
    bus.unregisterObject(ApplicationService::objectPath);
    if (!reply.isValid()) {
        NSLog(std::string("cannot claim the bus name ") + serviceName + " (" +
              reply.error().message().toStdString() +
              "); this pane host runs alone and nothing can reach it");
        return Registration::NoBus;
    }
    return Registration::AlreadyRunning;
}

bool forwardToRunningHost(const std::optional<std::string>& panePath)
{
    const char* member = panePath ? "Open" : "Activate";
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, ApplicationService::objectPath,
                                                       "org.freedesktop.Application", member);
    if (panePath)
        call << QStringList{QUrl::fromLocalFile(QString::fromStdString(*panePath)).toString()};
    call << QVariantMap();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, forwardTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    NSLog(std::string("the running pane host did not take ") + member + ": " +
          reply.errorMessage().toStdString());
    return false;
}

} // namespace HostBus
