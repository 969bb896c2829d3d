// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PaneFixture.h"

#include "PrivateServers.h"

#include "Platform/Linux/ProcFsProcessList.h"

#include <csignal>

using namespace Platform;

namespace {

// The real process list, narrowed to processes of bundles inside one folder: a listener of
// another build or test running at the same time bears the same name and would count too.
class ProcessesInFolder : public ProcessList {
public:
    explicit ProcessesInFolder(fs::path folder) : mFolder(std::move(folder)) {}

    std::vector<RunningProcess> runningProcesses() override
    {
        auto processes = mProcesses.runningProcesses();
        std::erase_if(processes, [&](const RunningProcess& process) {
            return !process.bundlePath ||
                   !fs::path(*process.bundlePath).string().starts_with(mFolder.string());
        });
        return processes;
    }

private:
    ProcFsProcessList mProcesses;
    fs::path mFolder;
};

// The listener control against the real process list: the listener bundle's executable is a copy
// of sleep, so its process is named after the bundle while it sleeps.
class ListenerProcessTest : public PaneTest {
protected:
    ListenerProcessTest()
    {
        mProcesses = &mRealProcesses;
        const fs::path macOS = mListenerBundle / "Contents" / "MacOS";
        fs::create_directories(macOS);
        fs::copy_file("/bin/sleep", macOS / "CueboltListener");
        // The listener quits when asked, as the real one does.
        mCenter.addObserver(
            this, [this](const Notification&) { mListener.reset(); }, "Cuebolt listener quit request",
            kListenerID);
    }

    void startListenerProcess()
    {
        mListener = std::make_unique<TestSupport::ChildProcess>(std::vector<std::string>{
            (mListenerBundle / "Contents" / "MacOS" / "CueboltListener").string(), "600"});
    }

    bool shows(const char* status) const
    {
        return eventually([&] { return statusText() == QString::fromUtf8(status); });
    }

    ProcessesInFolder mRealProcesses{mTemp.path()};
    std::unique_ptr<TestSupport::ChildProcess> mListener;
};

TEST_F(ListenerProcessTest, TimerCheckFollowsTheListenerProcess)
{
    startListenerProcess();
    openPane();
    EXPECT_EQ(statusText(), QStringLiteral("Listener is running."));

    mListener.reset();

    EXPECT_TRUE(shows("Listener is not running."));
    EXPECT_TRUE(button("mStartButton")->isEnabled());
    EXPECT_FALSE(button("mStopButton")->isEnabled());
}

TEST_F(ListenerProcessTest, StopRightAfterOpeningEndsInNotRunning)
{
    startListenerProcess();
    openPane();

    button("mStopButton")->click();
    EXPECT_EQ(statusText(), QStringLiteral("Listener is stopping."));

    EXPECT_TRUE(shows("Listener is not running."));
}

TEST_F(ListenerProcessTest, RestartWaitsForTheRealProcessToEnd)
{
    startListenerProcess();
    openPane();

    mPane->restartListener(this);

    EXPECT_FALSE(mListener);
    ASSERT_EQ(mLaunch.requests().size(), 1u);
    EXPECT_LT(mClock.elapsed(), std::chrono::seconds(10));
}

} // namespace
