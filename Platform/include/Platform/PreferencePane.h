// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Bundle.h"

#include <memory>

class QWidget;

namespace Platform {

// What the pane host offers a loaded pane.
class PreferencePaneHost {
public:
    virtual ~PreferencePaneHost() = default;
    // The host's main window: sheets are shown on it.
    virtual QWidget* mainWindow() = 0;
};

// The base class of a pane bundle's principal class. The host creates it through the plug-in's
// factory, calls loadMainView() (the interface file), then mainViewDidLoad() once, shows the view,
// and destroys the pane when it quits.
class NSPreferencePane {
public:
    NSPreferencePane(std::shared_ptr<Bundle> bundle, PreferencePaneHost& host) : mBundle(std::move(bundle)), mHost(host) {}
    virtual ~NSPreferencePane() = default;
    NSPreferencePane(const NSPreferencePane&) = delete;
    NSPreferencePane& operator=(const NSPreferencePane&) = delete;

    const std::shared_ptr<Bundle>& bundle() const { return mBundle; }
    PreferencePaneHost& host() const { return mHost; }

    // Loads the interface file and returns the pane's view, owned by the pane.
    virtual QWidget* loadMainView() = 0;
    virtual void mainViewDidLoad() {}

private:
    std::shared_ptr<Bundle> mBundle;
    PreferencePaneHost& mHost;
};

// Every pane plug-in exports one factory per principal class, named
// "NSPrincipalClass_" + the Info.plist's NSPrincipalClass, of this type.
using PrincipalClassFactory = NSPreferencePane* (*)(std::shared_ptr<Bundle>* bundle, PreferencePaneHost* host);

} // namespace Platform
