// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PaneHost.h"

#include "ApplicationFolders.h"
#include "Platform/Log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QUrl>

namespace Platform::PaneHost {

namespace {

constexpr const char* objectPath = "/com/apple/systempreferences";

} // namespace

bool isOnSessionBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface()->isServiceRegistered(bundleIdentifier).value();
}

void openInRunningHost(const std::filesystem::path& pane)
{
    QDBusMessage open =
        QDBusMessage::createMethodCall(bundleIdentifier, objectPath, "org.freedesktop.Application", "Open");
    open << QStringList{QUrl::fromLocalFile(QString::fromStdString(pane.string())).toString()}
         << QVariantMap();
    // Nobody waits for the answer; a failure is only worth a log line.
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(open));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [pane](QDBusPendingCallWatcher* finished) {
        if (finished->isError())
            NSLog("the pane host did not open " + pane.string() + ": " +
                  finished->error().message().toStdString());
        finished->deleteLater();
    });
}

bool startHostWithPane(const std::filesystem::path& hostBundle, const std::filesystem::path& pane)
{
    const std::filesystem::path executable = ApplicationFolders::executableOfBundle(hostBundle);
    if (QProcess::startDetached(QString::fromStdString(executable.string()),
                                {QString::fromStdString(pane.string())}))
        return true;
    NSLog("cannot start the pane host " + executable.string() + " to open " + pane.string());
    return false;
}

} // namespace Platform::PaneHost
