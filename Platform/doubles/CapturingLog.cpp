// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CapturingLog.h"

namespace Doubles {

CapturingLog::CapturingLog() { Platform::setLogSink(this); }
CapturingLog::~CapturingLog() { Platform::setLogSink(nullptr); }

void CapturingLog::write(std::string_view line)
{
    std::lock_guard lock(mMutex);
    mLines.emplace_back(line);
}

std::vector<std::string> CapturingLog::lines() const
{
    std::lock_guard lock(mMutex);
    return mLines;
}

void CapturingLog::clear()
{
    std::lock_guard lock(mMutex);
    mLines.clear();
}

} // namespace Doubles
