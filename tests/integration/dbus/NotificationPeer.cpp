// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The other process of the notification tests:
//   notification_peer post <name> <object|-> <none|sample> [<name> <object|-> <none|sample>]...
//   notification_peer observe <name|-> <object|-> <count>
// An observer prints "ready" once the bus filters for it, then one line per notification,
// "name|object|userInfo" (object "-" when none), and exits after count of them.
#include "SampleUserInfo.h"

#include "Platform/Linux/DBusNotificationCenter.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <cstdio>
#include <optional>
#include <string>

namespace {

std::optional<std::string> argument(const char* text)
{
    return std::string(text) == "-" ? std::nullopt : std::optional<std::string>(text);
}

// Posts in the order given, from one connection: the bus keeps that order.
int post(int argc, char** argv)
{
    Platform::DBusNotificationCenter center;
    for (int i = 2; i + 2 < argc; i += 3) {
        const auto userInfo =
            std::string(argv[i + 2]) == "sample" ? std::optional(DBusTest::sampleUserInfo()) : std::nullopt;
        center.postNotificationName(argv[i], argument(argv[i + 1]), userInfo, true);
    }
    return 0;
}

int observe(char** argv)
{
    Platform::DBusNotificationCenter center;
    const int count = std::stoi(argv[4]);
    int received = 0;
    center.addObserver(
        &center,
        [&](const Platform::Notification& n) {
            std::printf("%s|%s|%s\n", n.name.c_str(), n.object.value_or("-").c_str(),
                        Platform::PlistValue(n.userInfo).description().c_str());
            std::fflush(stdout);
            if (++received == count)
                QCoreApplication::quit();
        },
        argument(argv[2]), argument(argv[3]));
    // A round trip: the bus has our match rule once it answers.
    QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.DBus");
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "post" && argc >= 5 && (argc - 2) % 3 == 0)
        return post(argc, argv);
    if (mode == "observe" && argc == 5)
        return observe(argv);
    std::fprintf(
        stderr, "usage: %s post (<name> <object|-> <none|sample>)... | observe <name|-> <object|-> <count>\n",
        argv[0]);
    return 2;
}
