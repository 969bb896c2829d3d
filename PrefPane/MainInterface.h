// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <QDialog>
#include <QWidget>
#include <memory>

class CBPreferencePane;

// The top-level objects of the pane's interface file, owned by the pane. The table model and the
// sysex column's delegate are children of the view.
struct MainInterface {
    std::unique_ptr<QWidget> mainView;
    std::unique_ptr<QDialog> willRestartPanel;
};

// Loads CBPreferencePane.ui, creates the table model (the owner is its data source) and the sysex
// column's delegate, builds the restart sheet, connects the owner's outlets and actions.
std::unique_ptr<MainInterface> loadMainInterface(CBPreferencePane& owner);
