// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace TestSupport {

// A child process whose stdout and stderr lines are collected as they come.
class CapturedProcess {
public:
    explicit CapturedProcess(const std::vector<std::string>& argv);
    ~CapturedProcess();
    CapturedProcess(const CapturedProcess&) = delete;
    CapturedProcess& operator=(const CapturedProcess&) = delete;

    pid_t pid() const { return mPid; }
    std::vector<std::string> lines() const;
    // The first line at or after index from that contains text, waiting at most timeout.
    std::optional<std::size_t> waitForLine(const std::string& text, std::chrono::milliseconds timeout,
                                           std::size_t from = 0) const;
    // How many lines contain text right now.
    std::size_t countLines(const std::string& text) const;
    void signal(int signalNumber);
    // Waits for the exit; the waitpid status, or none after the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

private:
    void readLoop(int fd);

    pid_t mPid = -1;
    std::optional<int> mStatus;
    std::thread mReader;
    mutable std::mutex mMutex;
    mutable std::condition_variable mChanged;
    std::vector<std::string> mLines;
};

} // namespace TestSupport
