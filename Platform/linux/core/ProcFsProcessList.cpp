// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/ProcFsProcessList.h"

#include "BundleLayout.h"
#include "Platform/Bundle.h"
#include "Platform/Log.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <limits.h>
#include <memory>
#include <unistd.h>

namespace Platform {
namespace {

namespace fs = std::filesystem;

struct CloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::optional<pid_t> pidFromName(std::string_view name)
{
    pid_t pid = 0;
    const auto result = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (result.ec != std::errc() || result.ptr != name.data() + name.size() || pid <= 0)
        return std::nullopt;
    return pid;
}

std::optional<std::string> linkedExecutable(const std::string& procDir)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink((procDir + "/exe").c_str(), target, sizeof target);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof target))
        return std::nullopt;
    std::string path(target, static_cast<std::size_t>(n));
    constexpr std::string_view deleted = " (deleted)";
    if (path.ends_with(deleted))
        path.resize(path.size() - deleted.size());
    return path;
}

// argv[0], for processes whose exe link we may not read; empty for kernel threads and zombies.
std::optional<std::string> firstArgument(const std::string& procDir)
{
    const int fd = ::open((procDir + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    char buffer[PATH_MAX];
    ssize_t n = 0;
    do {
        n = ::read(fd, buffer, sizeof buffer);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n <= 0)
        return std::nullopt;
    const std::size_t length = ::strnlen(buffer, static_cast<std::size_t>(n));
    if (length == 0)
        return std::nullopt;
    return std::string(buffer, length);
}

RunningProcess describe(pid_t pid, const fs::path& executable)
{
    RunningProcess process;
    process.pid = pid;
    const auto bundle = bundleEnclosingCode(executable);
    if (bundle && bundle->extension() == ".app") {
        process.name = bundle->stem().string();
        process.bundlePath = bundle->string();
        if (const auto info = Bundle::bundleWithPath(bundle->string()))
            process.bundleIdentifier = info->bundleIdentifier();
    } else {
        process.name = executable.filename().string();
    }
    return process;
}

} // namespace

std::vector<RunningProcess> ProcFsProcessList::runningProcesses()
{
    std::vector<RunningProcess> processes;
    std::unique_ptr<DIR, CloseDir> proc(::opendir("/proc"));
    if (!proc) {
        NSLog(std::string("cannot list /proc: ") + std::strerror(errno) + "; no running processes are known");
        return processes;
    }
    while (const dirent* entry = ::readdir(proc.get())) {
        const auto pid = pidFromName(entry->d_name);
        if (!pid)
            continue;
        const std::string procDir = "/proc/" + std::string(entry->d_name);
        // A process that ends while we look yields neither and is skipped.
        auto executable = linkedExecutable(procDir);
        if (!executable)
            executable = firstArgument(procDir);
        if (executable)
            processes.push_back(describe(*pid, *executable));
    }
    return processes;
}

} // namespace Platform
