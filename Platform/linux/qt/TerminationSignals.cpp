// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "TerminationSignals.h"

#include "Platform/Log.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace Platform {

TerminationSignals::TerminationSignals(std::function<void()> onSignal) : mOnSignal(std::move(onSignal))
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        NSLog(std::string("cannot watch SIGTERM and SIGINT (pipe: ") + std::strerror(errno) +
              "); they will end the application without its termination handling");
        return;
    }
    mReadFd = fds[0];
    sWriteFd = fds[1];
    mNotifier = std::make_unique<QSocketNotifier>(mReadFd, QSocketNotifier::Read);
    QObject::connect(mNotifier.get(), &QSocketNotifier::activated, [this] { drain(); });

    struct sigaction action {};
    action.sa_handler = &TerminationSignals::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &mPreviousTerm);
    sigaction(SIGINT, &action, &mPreviousInt);
}

TerminationSignals::~TerminationSignals()
{
    if (mReadFd < 0)
        return;
    sigaction(SIGTERM, &mPreviousTerm, nullptr);
    sigaction(SIGINT, &mPreviousInt, nullptr);
    mNotifier.reset();
    close(sWriteFd);
    sWriteFd = -1;
    close(mReadFd);
}

void TerminationSignals::handle(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(sWriteFd, &byte, 1); // full pipe: a wake-up is pending anyway
    errno = savedErrno;
}

void TerminationSignals::drain()
{
    char buffer[64];
    while (read(mReadFd, buffer, sizeof buffer) > 0) {
    }
    mOnSignal();
}

} // namespace Platform
