// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ListenerFixture.h"

#include "Platform/Exception.h"

using namespace Platform;

namespace {

struct PaneWalkCase {
    const char* name;
    const char* listenerBundle; // relative to the scratch folder
    const char* paneBundle;     // the bundle created as the pane, or nullptr
    std::optional<std::string> paneIdentifier;
    bool expectPanePath;
    const char* expectedPaneID;
    friend void PrintTo(const PaneWalkCase& c, std::ostream* os) { *os << c.name; }
};

class PaneWalkTest : public ListenerTest, public ::testing::WithParamInterface<PaneWalkCase> {};

TEST_P(PaneWalkTest, FindsTheEnclosingPaneAndItsIdentifier)
{
    const auto& c = GetParam();
    if (c.paneBundle)
        makeBundle(mTemp.path() / c.paneBundle, c.paneIdentifier);
    const fs::path listener = makeBundle(mTemp.path() / c.listenerBundle, kListenerID);

    auto controller = makeController(listener);

    if (c.expectPanePath)
        EXPECT_EQ(controller->pathToPrefsPane(), (mTemp.path() / c.paneBundle).native());
    else
        EXPECT_EQ(controller->pathToPrefsPane(), std::nullopt);
    EXPECT_EQ(controller->prefPaneBundleID(), c.expectedPaneID);
    EXPECT_EQ(controller->listenerBundleID(), kListenerID);
}

INSTANTIATE_TEST_SUITE_P(
    Walk, PaneWalkTest,
    ::testing::Values(
        PaneWalkCase{"InsideInstalledPane", "Cuebolt.prefPane/Contents/Resources/CueboltListener.app",
                     "Cuebolt.prefPane", "com.example.testpane", true, "com.example.testpane"},
        PaneWalkCase{"CopiedOutOfThePane", "Applications/CueboltListener.app", nullptr, std::nullopt, false,
                     "com.plexwerk.cueboltprefpane"},
        PaneWalkCase{"LowerCasePrefpaneDoesNotStop", "Old.prefpane/Contents/Resources/CueboltListener.app",
                     "Old.prefpane", "com.example.lowercase", false, "com.plexwerk.cueboltprefpane"},
        PaneWalkCase{"PaneWithoutIdentifier", "Cuebolt.prefPane/Contents/Resources/CueboltListener.app",
                     "Cuebolt.prefPane", std::nullopt, true, "com.plexwerk.cueboltprefpane"},
        PaneWalkCase{"OwnPathIsTestedFirst", "Odd.prefPane", "Odd.prefPane", std::nullopt, true,
                     "com.plexwerk.cueboltlistener"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListenerTest, ASecondControllerRaisesAndTheFirstStaysLive)
{
    auto first = makeController();
    try {
        makeController();
        FAIL() << "a second controller was created";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "only one instannce of CBController is allowed");
        EXPECT_EQ(e.reason(), "only one instannce of CBController is allowed");
    }
    EXPECT_EQ(CBController::liveInstance(), first.get());
    first.reset();
    EXPECT_EQ(CBController::liveInstance(), nullptr);
    EXPECT_NO_THROW(makeController()); // the slot is free again
}

TEST_F(ListenerTest, AwakeFromNibSetsUpMIDIThenObservesNotifications)
{
    auto controller = makeController();
    EXPECT_TRUE(mMIDI.calls().empty());
    controller->awakeFromNib();
    EXPECT_EQ(mMIDI.calls(), (std::vector<std::string>{"ClientCreate CBMIDI", "SourceCreate Cuebolt",
                                                       "InputPortCreate Input port"}));
    mDistributed.postNotificationName("Cuebolt prefs changed", kListenerID, std::nullopt, true);
    EXPECT_EQ(mLog.lines().back().rfind("{function", 0), 0u) << "a reload logs its records";
}

TEST_F(ListenerTest, LaunchingLogsAnnouncesAndAllowsUpdateChecks)
{
    auto controller = makeController();
    controller->awakeFromNib();
    EXPECT_FALSE(controller->autoUpdateCheckFlag());
    mLog.clear();

    controller->applicationDidFinishLaunching();

    EXPECT_EQ(mLog.lines(), std::vector<std::string>{"CueboltListener 1.0 has started up."});
    ASSERT_EQ(posted().size(), 1u);
    EXPECT_EQ(posted()[0].name, "Cuebolt listener started");
    EXPECT_EQ(posted()[0].object, "com.example.testpane");
    EXPECT_TRUE(posted()[0].userInfo.empty());
    EXPECT_TRUE(controller->autoUpdateCheckFlag());
}

TEST_F(ListenerTest, TerminatingAnnouncesThenLogs)
{
    auto controller = makeController();
    mLog.clear();
    controller->applicationWillTerminate();
    ASSERT_EQ(posted().size(), 1u);
    EXPECT_EQ(posted()[0].name, "Cuebolt listener quitting");
    EXPECT_EQ(posted()[0].object, "com.example.testpane");
    EXPECT_EQ(mLog.lines(), std::vector<std::string>{"Cuebolt 1.0 is shutting down."});
}

TEST_F(ListenerTest, TeardownDisposesMIDIAndStopsObserving)
{
    auto controller = makeAwakeController();
    const auto virtualSource = *mMIDI.connectedSources().begin();
    controller.reset();

    const auto calls = mMIDI.calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[calls.size() - 3], "Disconnect " + std::to_string(virtualSource));
    EXPECT_EQ(calls[calls.size() - 2], "EndpointDispose " + std::to_string(virtualSource));
    EXPECT_EQ(calls.back().rfind("ClientDispose", 0), 0u);
    EXPECT_FALSE(mMIDI.clientAlive());

    mLog.clear();
    for (const char* name : {"Cuebolt prefs changed", "Cuebolt listener quit request", "CBListenerVersionRequest"})
        mDistributed.postNotificationName(name, kListenerID, std::nullopt, true);
    mWorkspace.terminate("GarageBand");
    EXPECT_TRUE(mLog.lines().empty());
    EXPECT_EQ(mApplication.terminateCount(), 0);
}

TEST_F(ListenerTest, GarageBandTrackingFollowsTheBundleIdentifier)
{
    mWorkspace.launch("GarageBand", "com.apple.garageband");
    auto controller = makeController();
    controller->awakeFromNib();
    EXPECT_TRUE(controller->garageBandRunningFlag()) << "running at start";

    mWorkspace.launch("TextEdit", "com.apple.TextEdit");
    mWorkspace.terminate("TextEdit");
    EXPECT_TRUE(controller->garageBandRunningFlag()) << "other applications change nothing";

    mWorkspace.terminate("GarageBand");
    EXPECT_FALSE(controller->garageBandRunningFlag());
    mWorkspace.launch("GarageBand", "com.apple.garageband");
    EXPECT_TRUE(controller->garageBandRunningFlag());
}

TEST_F(ListenerTest, GarageBandAtStartIsFoundByNameOnly)
{
    mWorkspace.launch("GarageBand 2", "com.apple.garageband");
    EXPECT_FALSE(makeController()->garageBandRunningFlag());
}

TEST_F(ListenerTest, GarageBandAtStartFoundUnderAnyBundleIdentifier)
{
    mWorkspace.launch("GarageBand", std::nullopt);
    EXPECT_TRUE(makeController()->garageBandRunningFlag());
}

} // namespace
