// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "SystemPreferences.h"

#include "ApplicationService.h"
#include "LoadedPane.h"
#include "PaneWindow.h"
#include "Platform/Bundle.h"
#include "Platform/Log.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

SystemPreferences::SystemPreferences(Platform::Application& application)
    : mApplication(application),
      mWindow(std::make_unique<PaneWindow>([this] { mApplication.terminate(this); })),
      mService(std::make_unique<ApplicationService>(ApplicationService::Handlers{
          [this] { activate(); },
          [this](const QString& path) { openPane(path.toStdString()); },
          [this] { mApplication.terminate(this); },
      }))
{
}

SystemPreferences::~SystemPreferences()
{
    mService.reset();
    closePane();
}

void SystemPreferences::openPane(const std::string& path)
{
    std::error_code error;
    const fs::path canonical = fs::canonical(path, error);
    if (mPane && !error && canonical == mPane->bundlePath()) {
        activate();
        return;
    }
    closePane();
    auto result = loadPreferencePane(path, *mWindow);
    if (auto* failure = std::get_if<std::string>(&result)) {
        mWindow->showMessage(QString::fromStdString(*failure));
        return;
    }
    mPane = std::move(std::get<std::unique_ptr<LoadedPane>>(result));
    mWindow->showView(mPane->view(), QString::fromStdString(mPane->title()));
}

void SystemPreferences::openDefaultPane()
{
    if (const auto pane = firstPaneBesideHost()) {
        openPane(*pane);
        return;
    }
    mWindow->showMessage(QStringLiteral("There is no preference pane to show. Open one with:\n"
                                        "System Preferences /path/to/Name.prefPane"));
}

void SystemPreferences::activate()
{
    mWindow->bringForward();
}

void SystemPreferences::closePane()
{
    if (!mPane)
        return;
    mWindow->takeView();
    mPane.reset();
}

std::optional<std::string> firstPaneBesideHost()
{
    const auto host = Platform::Bundle::mainBundle();
    if (!host)
        return std::nullopt;
    std::vector<fs::path> panes;
    std::error_code error;
    const fs::path folder = fs::path(host->bundlePath()).parent_path();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".prefPane" && it->is_directory(error))
            panes.push_back(it->path());
    if (panes.empty())
        return std::nullopt;
    return std::min_element(panes.begin(), panes.end())->string();
}
