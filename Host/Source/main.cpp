// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// System Preferences [path/to/Name.prefPane]: shows the pane (without one, the first pane beside
// this application's bundle). When a host already runs in the session, the request goes to it.
#include "HostBus.h"
#include "SystemPreferences.h"

#include "Platform/Log.h"

#include <QCoreApplication>
#include <QStringList>

#include <filesystem>

namespace {

std::optional<std::string> paneArgument()
{
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
        return std::nullopt;
    if (arguments.size() > 2)
        NSLog("System Preferences shows one pane; only " + arguments.at(1).toStdString() + " is opened");
    std::error_code error;
    const auto absolute = std::filesystem::absolute(arguments.at(1).toStdString(), error);
    return error ? arguments.at(1).toStdString() : absolute.string();
}

// A second start exits at once: 0 when the running host took the request.
std::unique_ptr<Platform::InterfaceObjects> handOver(Platform::Application& application,
                                                     const std::optional<std::string>& pane)
{
    if (HostBus::forwardToRunningHost(pane))
        application.terminate(nullptr);
    else
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    return Platform::NSApplicationMain(argc, argv, [](Platform::Application& application) {
        const auto pane = paneArgument();
        auto host = std::make_unique<SystemPreferences>(application);
        if (HostBus::registerHost(host->service()) == HostBus::Registration::AlreadyRunning)
            return handOver(application, pane);
        if (pane)
            host->openPane(*pane);
        else
            host->openDefaultPane();
        return std::unique_ptr<Platform::InterfaceObjects>(std::move(host));
    });
}
