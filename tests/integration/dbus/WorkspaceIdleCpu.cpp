// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// Measures what an idle workspace watcher costs: workspace_idle_cpu [seconds, default 30] runs the
// event loop with one observer of the workspace's notifications and prints the process's CPU time
// as a share of the wall time.
#include "Platform/Linux/LinuxWorkspace.h"
#include "Platform/Linux/PosixLaunchServices.h"
#include "Platform/Linux/ProcFsProcessList.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>

namespace {

class NoWindows : public Platform::WindowActivator {
public:
    bool activateWindowOfProcess(pid_t) override { return false; }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::stoi(argv[1]) : 30;

    Platform::ProcFsProcessList processes;
    Platform::PosixLaunchServices launchServices;
    NoWindows activator;
    Platform::LinuxWorkspace workspace(processes, launchServices, activator);
    int notifications = 0;
    workspace.notificationCenter().addObserver(
        &notifications, [&](const Platform::Notification&) { ++notifications; }, std::nullopt, std::nullopt);

    const auto walkStart = std::chrono::steady_clock::now();
    const std::size_t applications = workspace.launchedApplications().size();
    const double walkMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - walkStart).count();

    const double cpuStart = cpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    QTimer::singleShot(std::chrono::seconds(seconds), &app, &QCoreApplication::quit);
    QCoreApplication::exec();
    const double cpu = cpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();

    std::printf("poll interval %lld ms, %zu applications, one walk %.2f ms\n",
                static_cast<long long>(Platform::LinuxWorkspace::defaultPollInterval.count()), applications,
                walkMs);
    std::printf("idle watcher over %.1f s: %.3f s CPU = %.3f %% of one core, %d notifications\n", wall, cpu,
                100.0 * cpu / wall, notifications);
    return 0;
}
