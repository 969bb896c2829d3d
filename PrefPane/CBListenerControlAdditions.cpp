// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The listener application inside the pane bundle: where it is, whether it runs, starting,
// stopping and restarting it, and its login item.
#include "CBPreferencePane.h"

#include "Platform/LaunchServices.h"
#include "Platform/Log.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

using namespace Platform;

namespace {

constexpr const char* kLoginWindowDomain = "loginwindow";
constexpr const char* kLoginItemsKey = "AutoLaunchedApplicationDictionary";
constexpr std::chrono::milliseconds kStatusCheckInterval{3000};

void startAnimation(QProgressBar* spinner)
{
    spinner->setRange(0, 0);
    spinner->show();
}

void stopAnimation(QProgressBar* spinner)
{
    spinner->hide();
    spinner->setRange(0, 1);
}

std::optional<std::string> homeDirectory(const std::string& user)
{
    if (user.empty())
        if (const char* home = std::getenv("HOME"); home && *home)
            return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    const int status = user.empty() ? getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found)
                                    : getpwnam_r(user.c_str(), &entry, buffer, sizeof buffer, &found);
    if (status != 0 || !found || !found->pw_dir)
        return std::nullopt;
    return found->pw_dir;
}

// "~" and "~/x" name the user's home, "~name/x" that user's; anything else is returned as it is.
std::string stringByExpandingTildeInPath(const std::string& path)
{
    if (path.empty() || path.front() != '~')
        return path;
    const auto slash = path.find('/');
    const auto home =
        homeDirectory(path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1));
    if (!home)
        return path;
    return *home + (slash == std::string::npos ? std::string() : path.substr(slash));
}

bool belongsToListener(const PlistValue& item, const std::string& listenerPath)
{
    const auto* entry = item.getIf<PlistDictionary>();
    const auto path = entry ? entry->find("Path") : PlistDictionary::const_iterator();
    if (!entry || path == entry->end())
        return false;
    const auto* text = path->second.getIf<std::string>();
    return text && stringByExpandingTildeInPath(*text) == listenerPath;
}

} // namespace

std::optional<std::string> CBPreferencePane::pathToListener() const
{
    return Bundle::pathForResourceOfTypeInDirectory("CueboltListener", "app", bundle()->bundlePath());
}

std::optional<std::string> CBPreferencePane::nameOfListener() const
{
    const auto path = pathToListener();
    if (!path)
        return std::nullopt;
    return std::filesystem::path(*path).stem().string();
}

std::optional<std::string> CBPreferencePane::bundleIdentifierOfListener() const
{
    const auto path = pathToListener();
    const auto listener = path ? Bundle::bundleWithPath(*path) : nullptr;
    return listener ? listener->bundleIdentifier() : std::nullopt;
}

bool CBPreferencePane::listenerIsRunning()
{
    const auto name = nameOfListener();
    if (!name)
        return false;
    const auto processes = mServices.processes.runningProcesses();
    return std::ranges::any_of(processes,
                               [&](const RunningProcess& process) { return process.name == *name; });
}

void CBPreferencePane::startupListenerControl()
{
    mListenerWasRunning = syncListenerControlUI();
    mListenerStatusTimer = std::make_unique<QTimer>();
    mListenerStatusTimer->setInterval(kStatusCheckInterval);
    QObject::connect(mListenerStatusTimer.get(), &QTimer::timeout,
                     [this] { syncListenerControlUIIfListenerStatusChanged(); });
    mListenerStatusTimer->start();
}

void CBPreferencePane::cleaupListenerControl()
{
    mListenerStatusTimer.reset();
}

bool CBPreferencePane::syncListenerControlUI()
{
    const bool running = listenerIsRunning();
    mListenerStatusText->setText(running ? kListenerRunning : kListenerNotRunning);
    mStartButton->setEnabled(!running);
    mStopButton->setEnabled(running);
    mRestartButton->setEnabled(running);
    stopAnimation(mSpinner);
    mAutoStartCheckbox->setChecked(prefsLaunchListenerAtLogin());
    return running;
}

void CBPreferencePane::syncListenerControlUIIfListenerStatusChanged()
{
    const bool running = listenerIsRunning();
    if (running == mListenerWasRunning)
        return;
    syncListenerControlUI();
    mListenerWasRunning = running;
}

void CBPreferencePane::broadcastListenerQuitRequest()
{
    mServices.distributedCenter.postNotificationName(kListenerQuitRequestNotification,
                                                     bundleIdentifierOfListener(), std::nullopt, true);
}

void CBPreferencePane::showBusy(const char* statusText)
{
    startAnimation(mSpinner);
    mStartButton->setEnabled(false);
    mStopButton->setEnabled(false);
    mRestartButton->setEnabled(false);
    mListenerStatusText->setText(statusText);
}

void CBPreferencePane::startListener(const void*)
{
    const auto path = pathToListener();
    NSLog("starting listener: " + path.value_or("(null)"));
    const auto app = path ? FSPathMakeRef(*path) : std::nullopt;
    const OSStatus status =
        app ? mServices.launchServices.LSOpenFromRefSpec(*app, kLSLaunchNoParams | kLSLaunchDontSwitch |
                                                                   kLSLaunchDontAddToRecents)
            : fnfErr;
    if (status != noErr) {
        if (!app)
            NSLog("the listener application is missing from " + bundle()->bundlePath());
        mListenerStatusText->setText(kListenerCouldNotStart);
        return;
    }
    showBusy(mRestartingListener ? kListenerRestarting : kListenerStartingUp);
}

void CBPreferencePane::stopListener(const void*)
{
    broadcastListenerQuitRequest();
    showBusy(kListenerStopping);
}

// Blocks the main thread until the listener has gone, at most kRestartWaitLimit; only the status
// text is redrawn meanwhile.
void CBPreferencePane::restartListener(const void*)
{
    mRestartingListener = true;
    stopListener(this);
    mListenerStatusText->setText(kListenerRestarting);
    mListenerStatusText->repaint();
    const auto asked = mServices.clock();
    while (listenerIsRunning() && mServices.clock() - asked < kRestartWaitLimit) {
    }
    mListenerWasRunning = false;
    startListener(this);
    mRestartingListener = false;
}

bool CBPreferencePane::prefsLaunchListenerAtLogin()
{
    const auto path = pathToListener();
    const auto items = mServices.preferences.CFPreferencesCopyValue(kLoginItemsKey, kLoginWindowDomain);
    const auto* list = items ? items->getIf<PlistArray>() : nullptr;
    if (!path || !list)
        return false;
    return std::ranges::any_of(*list, [&](const PlistValue& item) { return belongsToListener(item, *path); });
}

void CBPreferencePane::toggleLaunchAtStartup(const QAbstractButton* sender)
{
    const auto path = pathToListener();
    const auto stored = mServices.preferences.CFPreferencesCopyValue(kLoginItemsKey, kLoginWindowDomain);
    if (stored && !stored->is<PlistArray>()) {
        NSLog("the login items are not a list; they are left as they are");
        return;
    }
    PlistArray items = stored ? *stored->getIf<PlistArray>() : PlistArray();
    if (sender->isChecked()) {
        const auto alias = path ? pathAsAliasAsData(*path) : std::nullopt;
        if (!alias) {
            NSLog("cannot add the listener to the login items: " +
                  (path ? "no alias record can be made for " + *path
                        : "it is missing from " + bundle()->bundlePath()));
            return;
        }
        items.push_back(PlistDictionary{{"Path", *path}, {"AliasData", *alias}, {"Hide", false}});
    } else {
        if (!stored)
            return;
        const auto first =
            path ? std::ranges::find_if(
                       items, [&](const PlistValue& item) { return belongsToListener(item, *path); })
                 : items.end();
        if (first != items.end()) {
            const PlistValue entry = *first;
            std::erase(items, entry);
        }
    }
    mServices.preferences.CFPreferencesSetValue(kLoginItemsKey, PlistValue(std::move(items)),
                                                kLoginWindowDomain);
    mServices.preferences.CFPreferencesSynchronize(kLoginWindowDomain);
}

std::optional<PlistData> CBPreferencePane::pathAsAliasAsData(const std::string& path) const
{
    const auto reference = FSPathMakeRef(path);
    if (!reference)
        return std::nullopt;
    return FSNewAlias(*reference);
}
