// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/LinuxWorkspace.h"

#include "ApplicationFolders.h"
#include "ApplicationWatcher.h"
#include "PaneHost.h"
#include "Platform/Log.h"
#include "RunningApplications.h"
#include "WorkspaceNotificationCenter.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace Platform {

namespace {

PlistDictionary describe(const RunningProcess& application)
{
    PlistDictionary description{
        {NSApplicationName, application.name},
        {NSApplicationProcessIdentifier, std::int64_t{application.pid}},
    };
    if (application.bundleIdentifier)
        description.emplace(NSApplicationBundleIdentifier, *application.bundleIdentifier);
    return description;
}

// QDesktopServices needs the GUI application that NSApplicationMain creates.
bool openWithDesktop(const QUrl& url)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        NSLog("cannot open " + url.toString().toStdString() + ": no GUI application is running");
        return false;
    }
    if (QDesktopServices::openUrl(url))
        return true;
    NSLog("the desktop could not open " + url.toString().toStdString());
    return false;
}

} // namespace

LinuxWorkspace::LinuxWorkspace(ProcessList& processes, LaunchServices& launchServices,
                               WindowActivator& activator, std::chrono::milliseconds pollInterval)
    : mLaunchServices(launchServices), mActivator(activator),
      mApplications(std::make_unique<RunningApplications>(processes)),
      mNotificationCenter(std::make_unique<WorkspaceNotificationCenter>([this] { mWatcher->start(); })),
      mWatcher(std::make_unique<ApplicationWatcher>(
          *mApplications, pollInterval,
          [this](ApplicationWatcher::Change change, const RunningProcess& application) {
              announce(change == ApplicationWatcher::Change::Launched
                           ? NSWorkspaceWillLaunchApplicationNotification
                           : NSWorkspaceDidTerminateApplicationNotification,
                       application);
          }))
{
}

LinuxWorkspace::~LinuxWorkspace() = default;

void LinuxWorkspace::announce(const char* notificationName, const RunningProcess& application)
{
    mNotificationCenter->postNotificationName(notificationName, std::nullopt, describe(application), false);
}

std::vector<PlistDictionary> LinuxWorkspace::launchedApplications()
{
    std::vector<PlistDictionary> descriptions;
    for (const RunningProcess& application : mApplications->refresh())
        descriptions.push_back(describe(application));
    return descriptions;
}

bool LinuxWorkspace::launchApplication(const std::string& appName)
{
    const std::optional<pid_t> cached = mApplications->cachedPid(appName);
    if (cached && mActivator.activateWindowOfProcess(*cached))
        return true;
    // Not known, or gone since the last look: look again.
    mApplications->refresh();
    if (const std::optional<pid_t> pid = mApplications->cachedPid(appName))
        return pid != cached && mActivator.activateWindowOfProcess(*pid);

    const auto bundle = ApplicationFolders::findBundleNamed(appName, ApplicationFolders::standardFolders());
    const auto reference = bundle ? FSPathMakeRef(bundle->string()) : std::nullopt;
    if (!reference) {
        NSLog("cannot launch \"" + appName + "\": there is no " + appName +
              ".app in ~/Applications, /Applications or /usr/local/Applications");
        return false;
    }
    if (const OSStatus status = mLaunchServices.LSOpenFromRefSpec(*reference, 0); status != noErr) {
        NSLog("cannot launch " + reference->path + " (error " + std::to_string(status) + ")");
        return false;
    }
    return true;
}

bool LinuxWorkspace::openFile(const std::string& path)
{
    const std::filesystem::path file(path);
    if (file.extension() != ".prefPane")
        return openWithDesktop(QUrl::fromLocalFile(QString::fromStdString(path)));
    if (PaneHost::isOnSessionBus()) {
        PaneHost::openInRunningHost(file);
        return true;
    }
    if (const auto host = absolutePathForAppBundleWithIdentifier(PaneHost::bundleIdentifier))
        return PaneHost::startHostWithPane(*host, file);
    NSLog("cannot open " + path + ": the pane host (" + PaneHost::bundleIdentifier +
          ") neither runs nor lies in an application folder");
    return false;
}

bool LinuxWorkspace::openURL(const std::string& url)
{
    return openWithDesktop(QUrl(QString::fromStdString(url)));
}

std::optional<std::string>
LinuxWorkspace::absolutePathForAppBundleWithIdentifier(const std::string& bundleIdentifier)
{
    auto folders = ApplicationFolders::foldersOfEnclosingBundles();
    for (auto& folder : ApplicationFolders::standardFolders())
        folders.push_back(std::move(folder));
    const auto bundle = ApplicationFolders::findBundleWithIdentifier(bundleIdentifier, folders);
    return bundle ? std::optional(bundle->string()) : std::nullopt;
}

NotificationCenter& LinuxWorkspace::notificationCenter()
{
    return *mNotificationCenter;
}

} // namespace Platform
