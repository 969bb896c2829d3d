// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "StandinTarget.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace TestSupport {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

} // namespace

std::string StandinTarget::builtPath()
{
    return STANDIN_TARGET_PATH;
}

StandinTarget::StandinTarget(const std::string& executable)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    mOutput = fds[0];
    mProcess = std::make_unique<ChildProcess>(std::vector<std::string>{executable}, std::vector<int>{}, fds[1]);
    close(fds[1]);
    if (!waitForLine([](const std::string& line) { return line == "ready"; }, 10000)) {
        mProcess.reset();
        close(mOutput);
        throw std::runtime_error("the stand-in target " + executable + " did not report ready");
    }
}

StandinTarget::~StandinTarget()
{
    mProcess.reset();
    close(mOutput);
}

std::optional<std::string> StandinTarget::readLine(int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (const auto end = mPending.find('\n'); end != std::string::npos) {
            std::string line = mPending.substr(0, end);
            mPending.erase(0, end + 1);
            return line;
        }
        pollfd p{mOutput, POLLIN, 0};
        if (poll(&p, 1, millisecondsUntil(deadline)) <= 0)
            return std::nullopt;
        char buffer[512];
        const ssize_t n = read(mOutput, buffer, sizeof buffer);
        if (n <= 0)
            return std::nullopt;
        mPending.append(buffer, std::size_t(n));
    }
}

std::optional<std::string> StandinTarget::waitForLine(const std::function<bool(const std::string&)>& accept,
                                                      int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (const auto line = readLine(millisecondsUntil(deadline)))
        if (accept(*line))
            return line;
    return std::nullopt;
}

bool StandinTarget::staysQuiet(int timeoutMs)
{
    return !readLine(timeoutMs);
}

} // namespace TestSupport
