// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PaneFixture.h"

using namespace Platform;

namespace {

constexpr const char* kQuitRequest = "Cuebolt listener quit request";
constexpr std::uint32_t kListenerLaunchFlags = 0xB00;

const ListenerControls kRunning{"Listener is running.", false, false, true, true};
const ListenerControls kNotRunning{"Listener is not running.", false, true, false, false};
const ListenerControls kStartingUp{"Listener is starting up.", true, false, false, false};
const ListenerControls kRestarting{"Listener is restarting.", true, false, false, false};
const ListenerControls kStopping{"Listener is stopping.", true, false, false, false};

class ListenerControlTest : public PaneTest {
protected:
    std::string listenerPath() const { return mListenerBundle.string(); }
};

TEST_F(ListenerControlTest, OpeningShowsTheListenerState)
{
    struct Case {
        bool running;
        ListenerControls shown;
    };
    for (const Case& c : {Case{true, kRunning}, Case{false, kNotRunning}}) {
        SCOPED_TRACE(c.running);
        mFakeProcesses.remove("CueboltListener");
        if (c.running)
            mFakeProcesses.add("CueboltListener");

        openPane();

        EXPECT_EQ(controls(), c.shown);
        mPane->syncListenerControlUIIfListenerStatusChanged();
        EXPECT_EQ(controls(), c.shown);
        mPane.reset();
    }
}

TEST_F(ListenerControlTest, OnlyAProcessBearingTheListenerNameCounts)
{
    mFakeProcesses.add("CueboltListenerHelper");
    mFakeProcesses.add("cueboltlistener");
    openPane();
    EXPECT_EQ(controls(), kNotRunning);
}

TEST_F(ListenerControlTest, StartLogsAndLaunchesWithoutSwitching)
{
    openPane();

    button("mStartButton")->click();

    EXPECT_TRUE(logged("starting listener: " + listenerPath()));
    ASSERT_EQ(mLaunch.requests().size(), 1u);
    EXPECT_EQ(mLaunch.requests()[0], (Doubles::LaunchRequest{listenerPath(), kListenerLaunchFlags}));
    EXPECT_EQ(controls(), kStartingUp);

    mFakeProcesses.add("CueboltListener");
    mPane->syncListenerControlUIIfListenerStatusChanged();
    EXPECT_EQ(controls(), kRunning);
}

TEST_F(ListenerControlTest, FailedStartChangesOnlyTheStatusText)
{
    openPane();
    mLaunch.result = kLSUnknownErr;

    button("mStartButton")->click();

    ASSERT_EQ(mLaunch.requests().size(), 1u);
    ListenerControls expected = kNotRunning;
    expected.status = "Listener couldn't be started.";
    EXPECT_EQ(controls(), expected);
}

TEST_F(ListenerControlTest, StartWithoutTheListenerBundleLaunchesNothing)
{
    fs::remove_all(mListenerBundle);
    openPane();

    mPane->startListener(this);

    EXPECT_TRUE(logged("starting listener: (null)"));
    EXPECT_TRUE(mLaunch.requests().empty());
    EXPECT_EQ(statusText(), QStringLiteral("Listener couldn't be started."));
}

TEST_F(ListenerControlTest, StopPostsOneQuitRequestAndWaitsForTheCheck)
{
    mFakeProcesses.add("CueboltListener");
    openPane();

    button("mStopButton")->click();

    const auto requests = posted(kQuitRequest);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].object, kListenerID);
    EXPECT_EQ(controls(), kStopping);

    mPane->syncListenerControlUIIfListenerStatusChanged(); // still running: nothing changes
    EXPECT_EQ(controls(), kStopping);

    mFakeProcesses.remove("CueboltListener");
    mPane->syncListenerControlUIIfListenerStatusChanged();
    EXPECT_EQ(controls(), kNotRunning);
}

TEST_F(ListenerControlTest, RestartOfAListenerThatIgnoresQuitRequestsGivesUpAfterTenSeconds)
{
    mFakeProcesses.add("CueboltListener");
    openPane();
    mLaunch.onLaunch = [this](const Doubles::LaunchRequest&) {
        EXPECT_GE(mClock.elapsed(), std::chrono::seconds(10));
        EXPECT_EQ(statusText(), QStringLiteral("Listener is restarting."));
    };

    button("mRestartButton")->click();

    EXPECT_EQ(posted(kQuitRequest).size(), 1u);
    ASSERT_EQ(mLaunch.requests().size(), 1u);
    EXPECT_EQ(mLaunch.requests()[0].flags, kListenerLaunchFlags);
    EXPECT_LT(mClock.elapsed(), std::chrono::seconds(13));
    EXPECT_EQ(controls(), kRestarting);

    // The listener runs (still or again): the next check shows it.
    mPane->syncListenerControlUIIfListenerStatusChanged();
    EXPECT_EQ(controls(), kRunning);
}

TEST_F(ListenerControlTest, RestartWaitsOnlyUntilTheListenerHasGone)
{
    mFakeProcesses.add("CueboltListener");
    mCenter.addObserver(
        this, [this](const Notification&) { mFakeProcesses.remove("CueboltListener"); }, kQuitRequest,
        kListenerID);
    openPane();

    mPane->restartListener(this);

    ASSERT_EQ(mLaunch.requests().size(), 1u);
    EXPECT_LE(mClock.elapsed(), std::chrono::seconds(1));
    EXPECT_EQ(controls(), kRestarting);
}

TEST_F(ListenerControlTest, RestartWhenNotRunningLaunchesAtOnceAndThenSaysStartingUp)
{
    openPane();

    mPane->restartListener(this);

    ASSERT_EQ(mLaunch.requests().size(), 1u);
    EXPECT_LE(mClock.elapsed(), std::chrono::seconds(1));
    EXPECT_EQ(controls(), kRestarting);

    mPane->startListener(this);
    EXPECT_EQ(controls(), kStartingUp);
}

} // namespace
