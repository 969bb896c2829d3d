// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/LaunchServices.h"

#include <functional>
#include <string>
#include <vector>

namespace Doubles {

struct LaunchRequest {
    std::string path;
    std::uint32_t flags;
    bool operator==(const LaunchRequest&) const = default;
};

// Records every launch and answers with result; onLaunch runs inside each launch, so a test can
// look at the state the caller is in at that moment or start a stand-in process.
class RecordingLaunchServices : public Platform::LaunchServices {
public:
    Platform::OSStatus LSOpenFromRefSpec(const Platform::FSRef& app, std::uint32_t launchFlags) override
    {
        mRequests.push_back({app.path, launchFlags});
        if (onLaunch)
            onLaunch(mRequests.back());
        return result;
    }

    const std::vector<LaunchRequest>& requests() const { return mRequests; }

    Platform::OSStatus result = Platform::noErr;
    std::function<void(const LaunchRequest&)> onLaunch;

private:
    std::vector<LaunchRequest> mRequests;
};

} // namespace Doubles
