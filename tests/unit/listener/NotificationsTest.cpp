// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ListenerFixture.h"

#include "DefaultMappings.h"

using namespace Platform;

namespace {

TEST_F(ListenerTest, PrefsChangedReloadsAndTheNewBytesWork)
{
    auto controller = makeAwakeController();
    PlistArray edited = DefaultMappings::records();
    edited[2] = mappingRecord("transport-play", {0xF0, 0x7D, 0x33, 0xF7});
    storeMappings(edited);
    mLog.clear();

    mDistributed.postNotificationName("Cuebolt prefs changed", kListenerID, std::nullopt, true);

    const auto lines = mLog.lines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Reloading prefs...");
    const auto source = *mMIDI.connectedSources().begin();
    mMIDI.inject(source, MIDIPacketList::withPackets({{0xF0, 0x7D, 0x03, 0xF7}}));
    EXPECT_TRUE(mKeys.events().empty()) << "the old bytes no longer work";
    mMIDI.inject(source, MIDIPacketList::withPackets({{0xF0, 0x7D, 0x33, 0xF7}}));
    EXPECT_EQ(mKeys.events().size(), 2u);
}

TEST_F(ListenerTest, MessagesAddressedToAnotherIdentifierDoNotArrive)
{
    auto controller = makeAwakeController();
    mLog.clear();
    for (const char* name : {"Cuebolt prefs changed", "Cuebolt listener quit request", "CBListenerVersionRequest"})
        mDistributed.postNotificationName(name, std::string("com.plexwerk.cueboltprefpane"), std::nullopt, true);
    EXPECT_TRUE(mLog.lines().empty());
    EXPECT_EQ(mApplication.terminateCount(), 0);
    EXPECT_EQ(posted().size(), 3u) << "only the three posts themselves";
}

TEST_F(ListenerTest, QuitRequestTerminatesThroughTheNormalPath)
{
    auto controller = makeAwakeController();
    mLog.clear();
    mDistributed.postNotificationName("Cuebolt listener quit request", kListenerID, std::nullopt, true);

    EXPECT_EQ(mApplication.terminateCount(), 1);
    EXPECT_EQ(mApplication.lastTerminateSender(), controller.get());
    EXPECT_EQ(posted().back().name, "Cuebolt listener quitting");
    EXPECT_EQ(posted().back().object, "com.example.testpane");
    EXPECT_EQ(mLog.lines(), std::vector<std::string>{"Cuebolt 1.0 is shutting down."});
}

class VersionReplyTest : public ListenerTest, public ::testing::WithParamInterface<bool> {};

TEST_P(VersionReplyTest, OneReplyAddressedToThePane)
{
    const bool insidePane = GetParam();
    auto listener = insidePane ? installInsidePane()
                               : makeBundle(mTemp.path() / "Applications/CueboltListener.app", kListenerID, "2.5b");
    auto controller = makeController(listener);
    controller->awakeFromNib();
    const auto before = posted().size();

    PlistDictionary ignored{{"anything", 1}};
    mDistributed.postNotificationName("CBListenerVersionRequest", kListenerID, ignored, false);

    const auto all = posted();
    ASSERT_EQ(all.size(), before + 2); // the request and exactly one reply
    const auto& reply = all.back();
    EXPECT_EQ(reply.name, "CBListenerVersionReply");
    EXPECT_EQ(reply.object, insidePane ? "com.example.testpane" : "com.plexwerk.cueboltprefpane");
    EXPECT_EQ(reply.userInfo, (PlistDictionary{{"CFBundleVersion", insidePane ? "1.0" : "2.5b"}}));
}

INSTANTIATE_TEST_SUITE_P(Placement, VersionReplyTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "InsidePane" : "OutsidePane"; });

TEST_F(ListenerTest, UnregisteringStopsAllFiveNotifications)
{
    auto controller = makeAwakeController();
    controller->unregisterForNotifications();
    mLog.clear();
    for (const char* name : {"Cuebolt prefs changed", "Cuebolt listener quit request", "CBListenerVersionRequest"})
        mDistributed.postNotificationName(name, kListenerID, std::nullopt, true);
    mWorkspace.terminate("GarageBand");
    EXPECT_TRUE(mLog.lines().empty());
    EXPECT_EQ(mApplication.terminateCount(), 0);
    EXPECT_TRUE(controller->garageBandRunningFlag());
    EXPECT_EQ(posted().size(), 3u);
}

TEST_F(ListenerTest, SetupChangesRebuildConnectionsFromScratch)
{
    auto controller = makeController();
    controller->awakeFromNib();
    EXPECT_TRUE(controller->connectedSources().empty()) << "nothing is connected before the platform reports";

    mMIDI.deliverNotification();
    ASSERT_EQ(controller->connectedSources().size(), 1u);
    EXPECT_EQ(mMIDI.nameOf(controller->connectedSources()[0]), "Cuebolt") << "our own source is connected too";

    const auto keyboard = mMIDI.addSource("USB Keyboard");
    mMIDI.deliverNotification(2); // another message id changes nothing
    EXPECT_EQ(controller->connectedSources().size(), 1u);
    mMIDI.deliverNotification();
    EXPECT_EQ(mMIDI.connectedSources().size(), 2u);
    EXPECT_EQ(controller->connectedSources().back(), keyboard);

    mMIDI.removeSource(keyboard);
    mMIDI.deliverNotification();
    EXPECT_EQ(controller->connectedSources().size(), 1u);
    EXPECT_EQ(mMIDI.connectedSources().count(keyboard), 0u);
}

struct MIDIFailureCase {
    const char* name;
    OSStatus Doubles::FakeMIDIServices::*failure;
    std::vector<std::string> calls;
    friend void PrintTo(const MIDIFailureCase& c, std::ostream* os) { *os << c.name; }
};

class MIDIFailureTest : public ListenerTest, public ::testing::WithParamInterface<MIDIFailureCase> {};

TEST_P(MIDIFailureTest, AFailedStepStopsTheSetupAndTheListenerRunsOn)
{
    mMIDI.*(GetParam().failure) = -50;
    auto controller = makeController();
    EXPECT_EQ(controller->MIDISetup(), -50);
    EXPECT_EQ(mMIDI.calls(), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Setup, MIDIFailureTest,
    ::testing::Values(MIDIFailureCase{"Client", &Doubles::FakeMIDIServices::failClientCreate, {"ClientCreate CBMIDI"}},
                      MIDIFailureCase{"Source",
                                      &Doubles::FakeMIDIServices::failSourceCreate,
                                      {"ClientCreate CBMIDI", "SourceCreate Cuebolt"}},
                      MIDIFailureCase{"Port",
                                      &Doubles::FakeMIDIServices::failPortCreate,
                                      {"ClientCreate CBMIDI", "SourceCreate Cuebolt", "InputPortCreate Input port"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
