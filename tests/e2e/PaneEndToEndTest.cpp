// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The built Cuebolt.prefPane loaded by the host's own loader, driving the real listener process:
// started with the pane's Start button, obeying a message edited in the table, ended with Stop.
#include "LoadedPane.h"
#include "MainJobRig.h"

#include "Platform/Linux/ProcFsProcessList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace TestSupport;
using namespace std::chrono_literals;

namespace {

enum XKey { kSpace = 65, kRight = 114 };

template <class Condition> bool waitWithEvents(std::chrono::milliseconds timeout, Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class HostWindow : public Platform::PreferencePaneHost {
public:
    QWidget* mainWindow() override { return &mWindow; }
    QWidget mWindow;
};

class PaneEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mRig.startTarget();
        auto loaded = loadPreferencePane(CUEBOLT_PANE_BUNDLE, mHost);
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<LoadedPane>>(loaded)) << std::get<std::string>(loaded);
        mPane = std::move(std::get<std::unique_ptr<LoadedPane>>(loaded));
        mPane->view()->setParent(&mHost.mWindow);
        mHost.mWindow.show();
    }

    void TearDown() override
    {
        mPane.reset();
        for (const auto& process : Platform::ProcFsProcessList().runningProcesses())
            if (process.name == "CueboltListener")
                kill(process.pid, SIGTERM);
        if (mListenerLog >= 0)
            close(mListenerLog);
    }

    template <class Widget> Widget* widget(const char* name) { return mPane->view()->findChild<Widget*>(name); }
    QString status() { return widget<QLabel>("mListenerStatusText")->text(); }

    // The listener the pane launches inherits standard error: send it to a file the test reads.
    void pressStartCapturingTheListenerLog()
    {
        char path[] = "/tmp/cuebolt-listener-log-XXXXXX";
        mListenerLog = mkstemp(path);
        mListenerLogPath = path;
        const int savedStderr = dup(STDERR_FILENO);
        dup2(mListenerLog, STDERR_FILENO);
        widget<QAbstractButton>("mStartButton")->click();
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
    }

    std::string listenerLog() const
    {
        std::ifstream in(mListenerLogPath);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void editMessage(int row, const QString& text)
    {
        auto* table = widget<QTableView>("mTableView");
        const QModelIndex cell = table->model()->index(row, 1);
        table->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(cell));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    void expectKey(int key)
    {
        for (bool press : {true, false}) {
            const auto event = mRig.nextKeyEvent();
            ASSERT_TRUE(event) << "no key event for X key " << key;
            EXPECT_EQ(keycodeOf(*event), key) << *event;
            EXPECT_EQ(isKeyPress(*event), press) << *event;
        }
    }

    MainJobRig mRig;
    HostWindow mHost;
    std::unique_ptr<LoadedPane> mPane;
    int mListenerLog = -1;
    std::string mListenerLogPath;
};

TEST_F(PaneEndToEndTest, StartEditAndStopTheRealListener)
{
    EXPECT_EQ(status(), "Listener is not running.");

    pressStartCapturingTheListenerLog();
    EXPECT_EQ(status(), "Listener is starting up.");
    ASSERT_TRUE(mRig.waitForSenderConnection(15s)) << listenerLog();
    ASSERT_TRUE(waitWithEvents(10s, [&] { return status() == "Listener is running."; })) << status().toStdString();

    mRig.sender().send({{0xF0, 0x7D, 0x03, 0xF7}});
    expectKey(kSpace);

    editMessage(2, "f0 7d 33 f7");
    ASSERT_TRUE(waitWithEvents(10s, [&] { return listenerLog().find("Reloading prefs...") != std::string::npos; }))
        << listenerLog();
    ASSERT_TRUE(waitWithEvents(5s, [&] { return listenerLog().find("sysex = <f07d33f7>") != std::string::npos; }));

    mRig.sender().send({{0xF0, 0x7D, 0x03, 0xF7}}); // the old bytes do nothing
    mRig.sender().send({{0xF0, 0x7D, 0x04, 0xF7}});
    expectKey(kRight);
    mRig.sender().send({{0xF0, 0x7D, 0x33, 0xF7}});
    expectKey(kSpace);

    widget<QAbstractButton>("mStopButton")->click();
    EXPECT_EQ(status(), "Listener is stopping.");
    const auto stopped = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitWithEvents(10s, [&] { return status() == "Listener is not running."; }));
    EXPECT_LT(std::chrono::steady_clock::now() - stopped, 5s) << "the status follows within about 3 s";
    EXPECT_NE(listenerLog().find("is shutting down."), std::string::npos);
}

} // namespace

int main(int argc, char** argv)
{
    // The pane's window stays off the X display, where the stand-in GarageBand holds the focus;
    // processes the pane starts get the real platform back.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    qunsetenv("QT_QPA_PLATFORM");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
