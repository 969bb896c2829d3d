// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CapturedProcess.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace TestSupport {

CapturedProcess::CapturedProcess(const std::vector<std::string>& argv)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const int rc = posix_spawnp(&mPid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
    }
    mReader = std::thread([this, fd = fds[0]] { readLoop(fd); });
}

CapturedProcess::~CapturedProcess()
{
    if (!mStatus) {
        kill(mPid, SIGKILL);
        waitForExit(std::chrono::seconds(5));
    }
    if (mReader.joinable())
        mReader.join();
}

void CapturedProcess::readLoop(int fd)
{
    std::string partial;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
        partial.append(buffer, std::size_t(n));
        std::size_t newline;
        while ((newline = partial.find('\n')) != std::string::npos) {
            {
                std::lock_guard lock(mMutex);
                mLines.push_back(partial.substr(0, newline));
            }
            mChanged.notify_all();
            partial.erase(0, newline + 1);
        }
    }
    close(fd);
}

std::vector<std::string> CapturedProcess::lines() const
{
    std::lock_guard lock(mMutex);
    return mLines;
}

std::optional<std::size_t> CapturedProcess::waitForLine(const std::string& text, std::chrono::milliseconds timeout,
                                                        std::size_t from) const
{
    std::unique_lock lock(mMutex);
    std::optional<std::size_t> found;
    mChanged.wait_for(lock, timeout, [&] {
        for (std::size_t i = from; i < mLines.size(); ++i)
            if (mLines[i].find(text) != std::string::npos) {
                found = i;
                return true;
            }
        return false;
    });
    return found;
}

std::size_t CapturedProcess::countLines(const std::string& text) const
{
    std::lock_guard lock(mMutex);
    std::size_t count = 0;
    for (const auto& line : mLines)
        count += line.find(text) != std::string::npos;
    return count;
}

void CapturedProcess::signal(int signalNumber)
{
    if (!mStatus)
        kill(mPid, signalNumber);
}

std::optional<int> CapturedProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!mStatus) {
        int status;
        if (waitpid(mPid, &status, WNOHANG) == mPid)
            mStatus = status;
        else if (std::chrono::steady_clock::now() >= deadline)
            break;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return mStatus;
}

} // namespace TestSupport
