// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The other process of the workspace tests:
//   workspace_peer find <bundle identifier>   prints the bundle's path (run from a copy inside a
//                                             bundle tree), or "none"
//   workspace_peer pane-host                  owns the pane host's bus name, prints "ready", then
//                                             the URIs of the first Open call, and exits
#include "Platform/Linux/LinuxWorkspace.h"
#include "Platform/Linux/PosixLaunchServices.h"
#include "Platform/Linux/ProcFsProcessList.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QStringList>

#include <cstdio>
#include <string>

namespace {

class NoWindows : public Platform::WindowActivator {
public:
    bool activateWindowOfProcess(pid_t) override { return false; }
};

int find(const std::string& bundleIdentifier)
{
    Platform::ProcFsProcessList processes;
    Platform::PosixLaunchServices launchServices;
    NoWindows activator;
    Platform::LinuxWorkspace workspace(processes, launchServices, activator);
    std::printf("%s\n",
                workspace.absolutePathForAppBundleWithIdentifier(bundleIdentifier).value_or("none").c_str());
    return 0;
}

// Answers org.freedesktop.Application.Open(as uris, a{sv} platformData) like the pane host.
class PaneHostObject : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != "org.freedesktop.Application" || message.member() != "Open" ||
            message.signature() != "asa{sv}")
            return false;
        connection.send(message.createReply());
        std::printf("%s\n", qPrintable(message.arguments().at(0).toStringList().join(' ')));
        std::fflush(stdout);
        QCoreApplication::quit();
        return true;
    }
    QString introspect(const QString&) const override { return {}; }
};

int paneHost()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    PaneHostObject host;
    if (!bus.registerVirtualObject("/com/apple/systempreferences", &host) ||
        !bus.registerService("com.apple.systempreferences"))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "find" && argc == 3)
        return find(argv[2]);
    if (mode == "pane-host" && argc == 2)
        return paneHost();
    std::fprintf(stderr, "usage: %s find <bundle identifier> | pane-host\n", argv[0]);
    return 2;
}
