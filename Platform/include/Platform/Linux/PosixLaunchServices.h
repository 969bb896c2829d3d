// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/LaunchServices.h"

namespace Platform {

// Starts X.app through X.app/Contents/MacOS/<CFBundleExecutable, else X>, or a plain executable
// itself, as a detached process in its own session with stdin from /dev/null. Returns noErr once
// the program has been executed, fnfErr when it is missing, kLSUnknownErr when it cannot be run.
class PosixLaunchServices : public LaunchServices {
public:
    OSStatus LSOpenFromRefSpec(const FSRef& app, std::uint32_t launchFlags) override;
};

} // namespace Platform
