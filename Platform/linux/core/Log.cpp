// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Log.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>
#include <syslog.h>
#include <unistd.h>

namespace Platform {
namespace {

std::mutex gLogMutex;
LogSink* gSink = nullptr; // guarded by gLogMutex
bool gSyslogOpen = false; // guarded by gLogMutex

std::string timestamp()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    char seconds[32];
    std::strftime(seconds, sizeof seconds, "%Y-%m-%d %H:%M:%S", &local);
    char millis[8];
    std::snprintf(millis, sizeof millis, ".%03d", static_cast<int>(now.tv_nsec / 1000000));
    return std::string(seconds) + millis;
}

void writeToStderr(const std::string& entry)
{
    // One write per entry so lines from several processes sharing the stream do not interleave.
    std::size_t done = 0;
    while (done < entry.size()) {
        const ssize_t n = ::write(STDERR_FILENO, entry.data() + done, entry.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += static_cast<std::size_t>(n);
    }
}

void writeToSystemLog(std::string_view line)
{
    if (!gSyslogOpen) {
        openlog(program_invocation_short_name, LOG_PID, LOG_USER);
        gSyslogOpen = true;
    }
    syslog(LOG_USER | LOG_NOTICE, "%.*s", static_cast<int>(line.size()), line.data());
}

} // namespace

void setLogSink(LogSink* sink)
{
    std::lock_guard lock(gLogMutex);
    gSink = sink;
}

} // namespace Platform

void NSLog(std::string_view line)
{
    using namespace Platform;
    std::lock_guard lock(gLogMutex);
    if (gSink) {
        gSink->write(line);
        return;
    }
    std::string entry = timestamp();
    entry += ' ';
    entry += program_invocation_short_name;
    entry += '[' + std::to_string(::getpid()) + "] ";
    entry += line;
    entry += '\n';
    writeToStderr(entry);
    writeToSystemLog(line);
}
