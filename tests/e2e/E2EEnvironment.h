// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "CapturedProcess.h"
#include "PrivateServers.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace E2E {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

inline const std::string kListenerExecutable = CUEBOLT_LISTENER_EXECUTABLE;
inline const std::string kListenerID = "com.plexwerk.cueboltlistener";
inline const std::string kVersion = CUEBOLT_VERSION;

// A private home for one test: its own XDG_CONFIG_HOME, removed afterwards.
class ScratchHome {
public:
    ScratchHome()
    {
        char pattern[] = "/tmp/cuebolt-e2e-XXXXXX";
        mPath = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", (mPath / "config").c_str(), 1);
    }
    ~ScratchHome()
    {
        unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        fs::remove_all(mPath, ignored);
    }
    const fs::path& path() const { return mPath; }
    fs::path preferencesFile(const std::string& domain) const
    {
        return mPath / "config/preferences" / (domain + ".plist");
    }

private:
    fs::path mPath;
};

inline std::unique_ptr<TestSupport::CapturedProcess> startListener()
{
    return std::make_unique<TestSupport::CapturedProcess>(std::vector<std::string>{kListenerExecutable});
}

} // namespace E2E
