// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Log.h"

#include <mutex>
#include <string>
#include <vector>

namespace Doubles {

// Captures every NSLog line while it lives.
class CapturingLog : public Platform::LogSink {
public:
    CapturingLog();
    ~CapturingLog() override;
    void write(std::string_view line) override;
    std::vector<std::string> lines() const;
    void clear();

private:
    mutable std::mutex mMutex;
    std::vector<std::string> mLines;
};

} // namespace Doubles
