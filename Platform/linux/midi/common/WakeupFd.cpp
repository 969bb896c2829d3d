// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "common/WakeupFd.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/eventfd.h>
#include <unistd.h>

namespace Platform {

WakeupFd::WakeupFd() : mFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (mFd < 0)
        throw std::runtime_error(std::string("cannot create an eventfd: ") + std::strerror(errno));
}

WakeupFd::~WakeupFd()
{
    close(mFd);
}

void WakeupFd::signal() noexcept
{
    const std::uint64_t one = 1;
    // EAGAIN means the counter is already far above zero: the reader will wake anyway.
    [[maybe_unused]] const ssize_t written = write(mFd, &one, sizeof one);
}

void WakeupFd::consume() noexcept
{
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(mFd, &count, sizeof count);
}

} // namespace Platform
