// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ApplicationWatcher.h"

#include "RunningApplications.h"

#include <QTimer>

namespace Platform {

namespace {

std::map<pid_t, RunningProcess> byPid(std::vector<RunningProcess> processes)
{
    std::map<pid_t, RunningProcess> map;
    for (RunningProcess& process : processes)
        map.emplace(process.pid, std::move(process));
    return map;
}

bool sameProcess(const RunningProcess& a, const RunningProcess& b)
{
    // A reused pid shows up under another name or bundle.
    return a.name == b.name && a.bundlePath == b.bundlePath;
}

} // namespace

ApplicationWatcher::ApplicationWatcher(RunningApplications& applications, std::chrono::milliseconds interval,
                                       Observer observer)
    : mApplications(applications), mObserver(std::move(observer)), mTimer(std::make_unique<QTimer>())
{
    mTimer->setInterval(interval);
    QObject::connect(mTimer.get(), &QTimer::timeout, [this] { poll(); });
}

ApplicationWatcher::~ApplicationWatcher() = default;

void ApplicationWatcher::start()
{
    QMetaObject::invokeMethod(mTimer.get(), [this] { begin(); });
}

void ApplicationWatcher::begin()
{
    if (mTimer->isActive())
        return;
    mKnown = byPid(mApplications.refresh());
    mTimer->start();
}

void ApplicationWatcher::poll()
{
    std::map<pid_t, RunningProcess> current = byPid(mApplications.refresh());
    for (const auto& [pid, known] : mKnown) {
        const auto it = current.find(pid);
        if (it == current.end() || !sameProcess(it->second, known))
            mObserver(Change::Terminated, known);
    }
    for (const auto& [pid, process] : current) {
        const auto it = mKnown.find(pid);
        if (it == mKnown.end() || !sameProcess(it->second, process))
            mObserver(Change::Launched, process);
    }
    mKnown = std::move(current);
}

} // namespace Platform
