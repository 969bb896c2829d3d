// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Processes.h"

#include <algorithm>
#include <string>
#include <vector>

namespace Doubles {

// A process list the test fills by name; counts how often it was walked.
class FakeProcessList : public Platform::ProcessList {
public:
    std::vector<Platform::RunningProcess> runningProcesses() override
    {
        ++mQueries;
        return mProcesses;
    }

    void add(const std::string& name)
    {
        mProcesses.push_back({mNextPid++, name, std::nullopt, std::nullopt});
    }
    void remove(const std::string& name)
    {
        std::erase_if(mProcesses, [&](const Platform::RunningProcess& p) { return p.name == name; });
    }
    int queries() const { return mQueries; }

private:
    std::vector<Platform::RunningProcess> mProcesses;
    pid_t mNextPid = 1000;
    int mQueries = 0;
};

} // namespace Doubles
