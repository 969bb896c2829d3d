// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/PreferencePane.h"

#include <QMainWindow>

#include <functional>

// The host's one window: it shows a pane's view, or a message when there is no pane to show.
// Closing it ends the application.
class PaneWindow : public QMainWindow, public Platform::PreferencePaneHost {
public:
    explicit PaneWindow(std::function<void()> onClose);

    QWidget* mainWindow() override { return this; }

    // The view stays the pane's: takeView gives it back before the pane goes.
    void showView(QWidget* view, const QString& title);
    void takeView();
    void showMessage(const QString& message);
    void bringForward();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> mOnClose;
    QWidget* mView = nullptr;
};
