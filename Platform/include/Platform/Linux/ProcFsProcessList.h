// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Processes.h"

namespace Platform {

// The running processes as /proc shows them. A process is named after its executable from
// /proc/<pid>/exe, or after argv[0] when that link cannot be read; kernel threads are left out.
class ProcFsProcessList : public ProcessList {
public:
    std::vector<RunningProcess> runningProcesses() override;
};

} // namespace Platform
