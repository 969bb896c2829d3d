// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "RunningApplications.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

bool ownedByCurrentUser(pid_t pid)
{
    struct stat info {};
    return stat(("/proc/" + std::to_string(pid)).c_str(), &info) == 0 && info.st_uid == getuid();
}

} // namespace

std::vector<RunningProcess> RunningApplications::refresh()
{
    std::vector<RunningProcess> applications;
    std::unordered_map<std::string, pid_t> pidByName;
    for (RunningProcess& process : mProcesses.runningProcesses()) {
        if (process.name.empty() || !ownedByCurrentUser(process.pid))
            continue;
        pidByName.emplace(process.name, process.pid);
        applications.push_back(std::move(process));
    }
    std::lock_guard lock(mMutex);
    mPidByName = std::move(pidByName);
    return applications;
}

std::optional<pid_t> RunningApplications::cachedPid(const std::string& name) const
{
    std::lock_guard lock(mMutex);
    const auto it = mPidByName.find(name);
    if (it == mPidByName.end())
        return std::nullopt;
    return it->second;
}

} // namespace Platform
