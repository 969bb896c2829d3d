// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "PaneServices.h"
#include "TableDataSource.h"

#include "Platform/PreferencePane.h"
#include "Platform/PropertyList.h"

#include <QImage>
#include <memory>
#include <optional>
#include <string>

class QAbstractButton;
class QDialog;
class QLabel;
class QProgressBar;
class QTabWidget;
class QTimer;
struct MainInterface;

// The principal class of Cuebolt.prefPane. Its main body (CBPreferencePane.cpp) sets the pane up
// and tears it down, notices a newer pane installed over the loaded one and hands over to
// Panecycler; each other concern is a category in a file of its own: CBMappingsAdditions (the
// mappings table), CBPrefsAdditions (the stored mappings), CBListenerControlAdditions (the
// listener's process and the login item).
class CBPreferencePane : public Platform::NSPreferencePane, public TableDataSource {
public:
    static constexpr const char* kPrefsChangedNotification = "Cuebolt prefs changed";
    static constexpr const char* kListenerQuitRequestNotification = "Cuebolt listener quit request";
    static constexpr const char* kListenerRunning = "Listener is running.";
    static constexpr const char* kListenerNotRunning = "Listener is not running.";
    static constexpr const char* kListenerStartingUp = "Listener is starting up.";
    static constexpr const char* kListenerRestarting = "Listener is restarting.";
    static constexpr const char* kListenerCouldNotStart = "Listener couldn't be started.";
    static constexpr const char* kListenerStopping = "Listener is stopping.";
    static constexpr std::chrono::seconds kRestartWaitLimit{10};

    CBPreferencePane(std::shared_ptr<Platform::Bundle> bundle, Platform::PreferencePaneHost& host,
                     PaneServices services);
    // dealloc: the concerns are torn down in the reverse order of their set-up.
    ~CBPreferencePane() override;

    QWidget* loadMainView() override;
    void mainViewDidLoad() override;

    // Main body.
    std::optional<std::string> myBundleID() const;
    std::optional<std::string> pathToRelauncher() const;
    void showRestartSheet();
    void restartSheetDismiss(QWidget* sender);
    void launchPanecycler();

    // The about box arrives with a later change; these are its set-up and teardown seams and do
    // nothing yet.
    void initAbout();
    void deallocAbout();

    // CBMappingsAdditions.
    void initMappingsPane();
    void deallocMappingsPane();
    std::optional<QImage> tifImageNamed(const std::string& name);
    void loadFromPrefs();
    void restoreDefaultMappings(const void* sender);
    int numberOfRowsInTableView(const QTableView* tableView) const override;
    QVariant tableViewObjectValueForTableColumnRow(const QTableView* tableView, const TableColumn* column,
                                                   int row) const override;
    void tableViewSetObjectValueForTableColumnRow(const QTableView* tableView, const QVariant& object,
                                                  const TableColumn* column, int row) override;

    // CBPrefsAdditions.
    std::optional<Platform::PlistValue> prefsGetMappingsArray();
    void prefsSetMappingsArray(const Platform::PlistArray& mappings);
    void broadcastPrefsChange();

    // CBListenerControlAdditions.
    std::optional<std::string> pathToListener() const;
    std::optional<std::string> nameOfListener() const;
    std::optional<std::string> bundleIdentifierOfListener() const;
    bool listenerIsRunning();
    void startupListenerControl();
    void cleaupListenerControl();
    // Shows the listener's state; returns the state it showed.
    bool syncListenerControlUI();
    void syncListenerControlUIIfListenerStatusChanged();
    void broadcastListenerQuitRequest();
    void startListener(const void* sender);
    void stopListener(const void* sender);
    void restartListener(const void* sender);
    bool prefsLaunchListenerAtLogin();
    void toggleLaunchAtStartup(const QAbstractButton* sender);
    std::optional<Platform::PlistData> pathAsAliasAsData(const std::string& path) const;

private:
    friend std::unique_ptr<MainInterface> loadMainInterface(CBPreferencePane& owner);

    void reloadTable();
    void showBusy(const char* statusText);

    PaneServices mServices;
    std::unique_ptr<MainInterface> mMainInterface; // the interface file's top-level objects

    // Outlets, set by the interface file.
    QTabWidget* mTabView = nullptr;
    QTableView* mTableView = nullptr;
    const TableColumn* mFunctionColumn = nullptr;
    const TableColumn* mSysexColumn = nullptr;
    QAbstractButton* mAutoStartCheckbox = nullptr;
    QAbstractButton* mStartButton = nullptr;
    QAbstractButton* mRestartButton = nullptr;
    QAbstractButton* mStopButton = nullptr;
    QLabel* mListenerStatusText = nullptr;
    QProgressBar* mSpinner = nullptr;
    QDialog* mWillRestartPanel = nullptr;

    // The working copy of the stored mappings: none before initMappingsPane and after
    // deallocMappingsPane.
    std::optional<Platform::PlistArray> mMappingsArray;

    bool mRestartingListener = false;
    bool mListenerWasRunning = false;
    std::unique_ptr<QTimer> mListenerStatusTimer;
};
