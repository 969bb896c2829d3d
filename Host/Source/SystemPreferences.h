// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Application.h"

#include <memory>
#include <optional>
#include <string>

class ApplicationService;
class LoadedPane;
class PaneWindow;

// The pane host: one window showing at most one pane, reachable on the session bus.
class SystemPreferences : public Platform::InterfaceObjects {
public:
    explicit SystemPreferences(Platform::Application& application);
    // The pane goes first (it was given the window), then the window.
    ~SystemPreferences() override;

    ApplicationService& service() { return *mService; }

    // Shows the pane at path; the pane already shown is only brought forward, another one is torn
    // down first. A pane that cannot be loaded leaves a message in the window.
    void openPane(const std::string& path);
    // Without a pane named: the first *.prefPane beside the host's own bundle, or a message.
    void openDefaultPane();
    void activate();

private:
    void closePane();

    Platform::Application& mApplication;
    std::unique_ptr<PaneWindow> mWindow;
    std::unique_ptr<LoadedPane> mPane;
    std::unique_ptr<ApplicationService> mService;
};

// The pane next to the host bundle that a start without arguments shows.
std::optional<std::string> firstPaneBesideHost();
