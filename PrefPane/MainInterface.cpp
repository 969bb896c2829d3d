// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "MainInterface.h"

#include "CBPreferencePane.h"
#include "MappingsTableModel.h"
#include "SysexColumnDelegate.h"
#include "ui_CBPreferencePane.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum Column { kFunction, kSysex };

// The sheet ends only through its button: Escape and the window's close button do nothing.
class RestartSheet : public QDialog {
public:
    void reject() override {}
};

std::unique_ptr<QDialog> makeRestartSheet(CBPreferencePane& owner)
{
    auto panel = std::make_unique<RestartSheet>();
    panel->setObjectName("mWillRestartPanel");
    panel->setWindowTitle(QObject::tr("Cuebolt"));
    panel->setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(panel.get());
    auto* message =
        new QLabel(QObject::tr("A new version of Cuebolt has been installed. The Cuebolt listener "
                               "and System Preferences will be restarted so that the new version "
                               "is used."),
                   panel.get());
    message->setWordWrap(true);
    layout->addWidget(message);
    auto* button = new QPushButton(QObject::tr("Restart"), panel.get());
    button->setObjectName("restartSheetButton");
    button->setDefault(true);
    layout->addWidget(button, 0, Qt::AlignRight);
    QObject::connect(button, &QPushButton::clicked, [&owner, button] { owner.restartSheetDismiss(button); });
    return panel;
}

} // namespace

std::unique_ptr<MainInterface> loadMainInterface(CBPreferencePane& owner)
{
    auto objects = std::make_unique<MainInterface>();
    objects->mainView = std::make_unique<QWidget>();
    Ui::MainView ui;
    ui.setupUi(objects->mainView.get());

    std::vector<std::unique_ptr<TableColumn>> columns;
    columns.push_back(std::make_unique<TableColumn>(QObject::tr("Function"), false));
    columns.push_back(std::make_unique<TableColumn>(QObject::tr("Message"), true));
    auto* model = new MappingsTableModel(owner, *ui.mTableView, std::move(columns));
    ui.mTableView->setModel(model);
    ui.mTableView->setItemDelegateForColumn(
        kSysex,
        new SysexColumnDelegate(std::make_unique<CBSysexFormatter>(owner.mServices.beep), ui.mTableView));
    ui.mTableView->horizontalHeader()->resizeSection(kFunction, 90);

    // The spinner keeps its place in the row while it is hidden.
    QSizePolicy spinnerPolicy = ui.mSpinner->sizePolicy();
    spinnerPolicy.setRetainSizeWhenHidden(true);
    ui.mSpinner->setSizePolicy(spinnerPolicy);
    ui.mSpinner->setRange(0, 1);
    ui.mSpinner->hide();

    objects->willRestartPanel = makeRestartSheet(owner);

    owner.mTabView = ui.mTabView;
    owner.mTableView = ui.mTableView;
    owner.mFunctionColumn = model->column(kFunction);
    owner.mSysexColumn = model->column(kSysex);
    owner.mAutoStartCheckbox = ui.mAutoStartCheckbox;
    owner.mStartButton = ui.mStartButton;
    owner.mRestartButton = ui.mRestartButton;
    owner.mStopButton = ui.mStopButton;
    owner.mListenerStatusText = ui.mListenerStatusText;
    owner.mSpinner = ui.mSpinner;
    owner.mWillRestartPanel = objects->willRestartPanel.get();

    QObject::connect(ui.restoreDefaultsButton, &QPushButton::clicked,
                     [&owner, button = ui.restoreDefaultsButton] { owner.restoreDefaultMappings(button); });
    QObject::connect(ui.mStartButton, &QPushButton::clicked,
                     [&owner, button = ui.mStartButton] { owner.startListener(button); });
    QObject::connect(ui.mStopButton, &QPushButton::clicked,
                     [&owner, button = ui.mStopButton] { owner.stopListener(button); });
    QObject::connect(ui.mRestartButton, &QPushButton::clicked,
                     [&owner, button = ui.mRestartButton] { owner.restartListener(button); });
    QObject::connect(ui.mAutoStartCheckbox, &QCheckBox::clicked,
                     [&owner, box = ui.mAutoStartCheckbox] { owner.toggleLaunchAtStartup(box); });
    return objects;
}
