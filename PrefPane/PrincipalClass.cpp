// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The plug-in's entry point: the host creates the principal class through this factory, on the
// user's real services.
#include "CBPreferencePane.h"

#include "Platform/Linux/DBusNotificationCenter.h"
#include "Platform/Linux/PosixLaunchServices.h"
#include "Platform/Linux/ProcFsProcessList.h"
#include "Platform/Linux/UserPreferenceStore.h"
#include "Platform/Log.h"

#include <QApplication>

#include <type_traits>

namespace {

struct RealServices {
    Platform::UserPreferenceStore preferences;
    Platform::DBusNotificationCenter distributedCenter;
    Platform::ProcFsProcessList processes;
    Platform::PosixLaunchServices launchServices;
};

} // namespace

extern "C" __attribute__((visibility("default"))) Platform::NSPreferencePane*
NSPrincipalClass_CBPreferencePane(std::shared_ptr<Platform::Bundle>* bundle,
                                  Platform::PreferencePaneHost* host)
{
    if (!bundle || !*bundle || !host) {
        NSLog("CBPreferencePane needs its bundle and a host; no pane is made");
        return nullptr;
    }
    auto services = std::make_shared<RealServices>();
    PaneServices paneServices{services->preferences,
                              services->distributedCenter,
                              services->processes,
                              services->launchServices,
                              [] { QApplication::beep(); },
                              [] { return std::chrono::steady_clock::now(); },
                              services};
    return new CBPreferencePane(*bundle, *host, std::move(paneServices));
}

static_assert(std::is_same_v<decltype(&NSPrincipalClass_CBPreferencePane), Platform::PrincipalClassFactory>);
