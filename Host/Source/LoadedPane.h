// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PreferencePane.h"

#include <memory>
#include <string>
#include <variant>

// A pane whose plug-in is loaded: the pane object, its view and the plug-in handle. The pane is
// destroyed before the plug-in is closed, since its code lives there.
class LoadedPane {
public:
    struct HandleCloser {
        void operator()(void* handle) const;
    };
    using PluginHandle = std::unique_ptr<void, HandleCloser>;

    LoadedPane(std::string bundlePath, std::string title, PluginHandle plugin,
               std::unique_ptr<Platform::NSPreferencePane> pane, QWidget* view);
    ~LoadedPane();
    LoadedPane(const LoadedPane&) = delete;
    LoadedPane& operator=(const LoadedPane&) = delete;

    const std::string& bundlePath() const { return mBundlePath; }
    const std::string& title() const { return mTitle; }
    QWidget* view() const { return mView; }

private:
    std::string mBundlePath;
    std::string mTitle;
    PluginHandle mPlugin; // declared before the pane: closed after it
    std::unique_ptr<Platform::NSPreferencePane> mPane;
    QWidget* mView; // owned by the pane
};

// Loads X.prefPane: its Info.plist's NSPrincipalClass and CFBundleExecutable, the plug-in
// Contents/MacOS/<executable>, its factory NSPrincipalClass_<class>, then loadMainView and
// mainViewDidLoad. The result is the pane, or a sentence saying what failed (also logged).
using PaneLoadResult = std::variant<std::unique_ptr<LoadedPane>, std::string>;
PaneLoadResult loadPreferencePane(const std::string& path, Platform::PreferencePaneHost& host);
