// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The pane's main body: set-up and teardown order, the check for a newer pane installed over the
// loaded one, the restart sheet, and the hand-over to Panecycler.
#include "CBPreferencePane.h"

#include "CBBundleAdditions.h"
#include "MainInterface.h"

#include "Platform/LaunchServices.h"
#include "Platform/Log.h"

#include <QDialog>
#include <QTimer>

using namespace Platform;

CBPreferencePane::CBPreferencePane(std::shared_ptr<Bundle> bundle, PreferencePaneHost& host,
                                   PaneServices services)
    : NSPreferencePane(std::move(bundle), host), mServices(std::move(services))
{
}

CBPreferencePane::~CBPreferencePane()
{
    cleaupListenerControl();
    deallocMappingsPane();
    deallocAbout();
}

QWidget* CBPreferencePane::loadMainView()
{
    if (!mMainInterface)
        mMainInterface = loadMainInterface(*this);
    return mMainInterface->mainView.get();
}

// The pane's bundle is the bundle that holds this class's code, so the version logged is the one
// on disk now.
void CBPreferencePane::mainViewDidLoad()
{
    loadMainView(); // the host has loaded it already; this keeps the outlets set for any host
    const auto onDisk = CBBundleAdditions::unCachedBundleVersion(*bundle());
    NSLog("Cuebolt.prefPane version " + onDisk.value_or("(null)") + " did load");

    const auto loaded = CBBundleAdditions::bundleVersion(*bundle());
    if (!loaded || !onDisk || *loaded != *onDisk)
        showRestartSheet();

    initAbout();
    initMappingsPane();
    startupListenerControl();
}

std::optional<std::string> CBPreferencePane::myBundleID() const
{
    return bundle()->bundleIdentifier();
}

std::optional<std::string> CBPreferencePane::pathToRelauncher() const
{
    return Bundle::pathForResourceOfTypeInDirectory("Panecycler", "app", bundle()->bundlePath());
}

// Window-modal on the host's main window; returns at once, the set-up goes on behind the sheet.
void CBPreferencePane::showRestartSheet()
{
    mWillRestartPanel->setParent(host().mainWindow(), mWillRestartPanel->windowFlags());
    mWillRestartPanel->open();
}

void CBPreferencePane::restartSheetDismiss(QWidget* sender)
{
    QWidget* sheet = sender->window();
    sheet->hide();
    if (auto* dialog = qobject_cast<QDialog*>(sheet))
        dialog->done(QDialog::Accepted);
    restartListener(this);
    launchPanecycler();
}

void CBPreferencePane::launchPanecycler()
{
    const auto path = pathToRelauncher();
    if (!path) {
        NSLog("Panecycler.app is not in " + bundle()->bundlePath() +
              "; System Preferences keeps the loaded pane");
        return;
    }
    const auto app = FSPathMakeRef(*path);
    if (!app)
        return;
    mServices.launchServices.LSOpenFromRefSpec(*app, kLSLaunchDontAddToRecents | kLSLaunchDontSwitch);
}

void CBPreferencePane::initAbout() {}

void CBPreferencePane::deallocAbout() {}
