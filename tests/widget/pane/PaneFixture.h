// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "TemporaryDirectory.h"

#include "CBPreferencePane.h"

#include "CapturingLog.h"
#include "FakeProcessList.h"
#include "MemoryPreferenceStore.h"
#include "RecordingLaunchServices.h"
#include "SteppingClock.h"

#include "Platform/LocalNotificationCenter.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using TempDir = TestSupport::TemporaryDirectory;

inline const std::string kPaneID = "com.example.testpane";
inline const std::string kListenerID = "com.example.testlistener";

// Controls of the listener tab, compared as a whole so a failure shows every difference.
struct ListenerControls {
    std::string status;
    bool spinnerAnimating;
    bool startEnabled;
    bool stopEnabled;
    bool restartEnabled;
    bool operator==(const ListenerControls&) const = default;
};
void PrintTo(const ListenerControls& controls, std::ostream* os);

// The host's main window, a plain widget.
class StandInHost : public Platform::PreferencePaneHost {
public:
    QWidget* mainWindow() override { return &mWindow; }
    QWidget mWindow;
};

// A pane on doubles in a scratch Cuebolt.prefPane (version 1.0) that carries CueboltListener.app
// and the built function pictures, its view shown in the stand-in host window.
class PaneTest : public testing::Test {
protected:
    PaneTest();
    ~PaneTest() override;

    // Creates the pane and loads its view into the host window.
    void makePane();
    // makePane, mainViewDidLoad, and the window shown.
    void openPane();
    void writePaneInfo(const std::optional<std::string>& version);
    void writeListenerInfo(const fs::path& listener);

    template <class Widget> Widget* widget(const char* name) const
    {
        return mHost.mWindow.findChild<Widget*>(name);
    }
    QTableView* table() const { return widget<QTableView>("mTableView"); }
    QAbstractButton* button(const char* name) const { return widget<QAbstractButton>(name); }
    QString statusText() const { return widget<QLabel>("mListenerStatusText")->text(); }
    ListenerControls controls() const;
    // Text shown in the sysex column of a row.
    QString messageText(int row) const;
    std::vector<Platform::Notification> posted(const std::string& name) const;
    bool logged(const std::string& line) const;
    // Processes events until condition holds, at most five seconds.
    template <class Condition> bool eventually(Condition condition) const;

    TempDir mTemp;
    fs::path mPaneBundle;
    fs::path mListenerBundle;
    Doubles::CapturingLog mLog;
    Doubles::MemoryPreferenceStore mMemoryPreferences;
    Platform::PreferenceStore* mPreferences = &mMemoryPreferences;
    Platform::LocalNotificationCenter mCenter;
    Doubles::FakeProcessList mFakeProcesses;
    Platform::ProcessList* mProcesses = &mFakeProcesses;
    Doubles::RecordingLaunchServices mLaunch;
    Doubles::SteppingClock mClock{std::chrono::seconds(1)};
    int mBeeps = 0;
    std::shared_ptr<std::vector<Platform::Notification>> mPosted =
        std::make_shared<std::vector<Platform::Notification>>();
    StandInHost mHost;
    std::unique_ptr<CBPreferencePane> mPane;
};

template <class Condition> bool PaneTest::eventually(Condition condition) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
