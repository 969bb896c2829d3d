// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The built listener driving the stand-in GarageBand window from MIDI, on private Xvfb, jackd and
// session bus; the test talks to it as the pane would, over the bus and the preference file.
#include "MainJobRig.h"

#include "DefaultMappings.h"

#include "Platform/Linux/DBusNotificationCenter.h"
#include "Platform/Linux/FilePreferenceStore.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

using namespace TestSupport;
using namespace std::chrono_literals;
using Platform::Notification;
using Platform::PlistDictionary;

namespace {

const std::string kPaneID = "com.plexwerk.cueboltprefpane";
const std::string kListenerID = MainJobRig::listenerBundleIdentifier();

enum XKey { kZ = 52, kLeft = 113, kSpace = 65, kRight = 114, kYPosition = 29 };

template <class Condition> bool waitWithEvents(std::chrono::milliseconds timeout, Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class MainJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mRig.startTarget();
        mRig.startListener();
        ASSERT_TRUE(mRig.waitForListenerStart()) << testing::PrintToString(mRig.listener()->lines());
        ASSERT_TRUE(mRig.waitForSenderConnection()) << testing::PrintToString(mRig.listener()->lines());
    }

    void send(std::vector<std::vector<std::uint8_t>> messages) { mRig.sender().send(messages); }

    // The next key events' X key codes, press and release for each expected key.
    void expectKeys(std::vector<int> keys)
    {
        for (int key : keys) {
            for (bool press : {true, false}) {
                const auto event = mRig.nextKeyEvent();
                ASSERT_TRUE(event) << "no key event for X key " << key;
                EXPECT_EQ(keycodeOf(*event), key) << *event;
                EXPECT_EQ(isKeyPress(*event), press) << *event;
            }
        }
    }

    // Proves that what was sent before did nothing: the next key is the marker's (forward).
    void expectNothingBeforeMarker()
    {
        send({{0xF0, 0x7D, 0x04, 0xF7}});
        expectKeys({kRight});
    }

    MainJobRig mRig;
    Platform::DBusNotificationCenter mBus;
};

TEST_F(MainJobTest, PlayStopWithAndWithoutEndByte)
{
    send({{0xF0, 0x7D, 0x03, 0xF7}});
    expectKeys({kSpace});
    send({{0xF0, 0x7D, 0x03}});
    expectKeys({kSpace});
    send({{0xF0, 0x7D, 0x03, 0xF7, 0xF7}});
    expectNothingBeforeMarker();
}

TEST_F(MainJobTest, OnePacketListOfThreeMessagesActsInOrder)
{
    send({{0xF0, 0x7D, 0x01, 0xF7}, {0xF0, 0x7D, 0x02, 0xF7}, {0xF0, 0x7D, 0x01, 0xF7}});
    expectKeys({kZ, kLeft, kZ});
}

TEST_F(MainJobTest, NothingWhileGarageBandDoesNotRunAndDispatchAgainOnceItStarts)
{
    mRig.stopTarget();
    StandinTarget bystander; // another application, holding the focus
    // Until the listener hears of the termination, its keys land on the bystander.
    ASSERT_TRUE(waitWithEvents(10s, [&] {
        send({{0xF0, 0x7D, 0x03, 0xF7}});
        return bystander.staysQuiet(400);
    }));
    send({{0xF0, 0x7D, 0x03, 0xF7}});
    EXPECT_TRUE(bystander.staysQuiet(1000)) << "a key was posted while GarageBand did not run";

    mRig.startTarget();
    std::optional<std::string> event;
    waitWithEvents(10s, [&] {
        send({{0xF0, 0x7D, 0x03, 0xF7}});
        event = mRig.nextKeyEvent(300);
        return event.has_value();
    });
    ASSERT_TRUE(event) << "no dispatch after GarageBand started again";
    EXPECT_EQ(keycodeOf(*event), kSpace);
}

TEST_F(MainJobTest, NewBytesFromThePreferencesWorkAfterPrefsChanged)
{
    auto edited = DefaultMappings::records();
    edited[2] = Platform::PlistDictionary{{"function", "transport-play"}, {"sysex", Platform::PlistData{0xF0, 0x7D, 0x33, 0xF7}}};
    Platform::FilePreferenceStore store;
    store.CFPreferencesSetValue("default mappings", Platform::PlistValue(edited), kListenerID);
    store.CFPreferencesSynchronize(kListenerID);

    const auto before = mRig.listener()->lines().size();
    mBus.postNotificationName("Cuebolt prefs changed", kListenerID, std::nullopt, true);
    ASSERT_TRUE(mRig.listener()->waitForLine("Reloading prefs...", 10s, before));

    send({{0xF0, 0x7D, 0x03, 0xF7}});
    expectNothingBeforeMarker();
    send({{0xF0, 0x7D, 0x33, 0xF7}});
    expectKeys({kSpace});
}

TEST_F(MainJobTest, QuitRequestAnnouncesLogsAndExitsCleanly)
{
    std::vector<Notification> quitting;
    mBus.addObserver(this, [&](const Notification& n) { quitting.push_back(n); }, "Cuebolt listener quitting",
                     kPaneID);
    mBus.postNotificationName("Cuebolt listener quit request", kListenerID, std::nullopt, true);

    const auto status = mRig.listener()->waitForExit(15s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    EXPECT_EQ(mRig.listener()->countLines("Cuebolt 1.0.0 is shutting down."), 1u);
    EXPECT_TRUE(waitWithEvents(5s, [&] { return !quitting.empty(); }));
    EXPECT_EQ(quitting.size(), 1u);
}

TEST_F(MainJobTest, EachVersionRequestGetsExactlyOneReplyAddressedToThePane)
{
    std::vector<Notification> replies;
    mBus.addObserver(this, [&](const Notification& n) { replies.push_back(n); }, "CBListenerVersionReply", kPaneID);

    mBus.postNotificationName("CBListenerVersionRequest", kListenerID, std::nullopt, true);
    ASSERT_TRUE(waitWithEvents(10s, [&] { return replies.size() >= 1; }));
    // A second request's reply comes after any duplicate of the first.
    mBus.postNotificationName("CBListenerVersionRequest", kListenerID, std::nullopt, true);
    ASSERT_TRUE(waitWithEvents(10s, [&] { return replies.size() >= 2; }));
    waitWithEvents(200ms, [] { return false; });

    EXPECT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].object, kPaneID);
    EXPECT_EQ(replies[0].userInfo, (PlistDictionary{{"CFBundleVersion", "1.0.0"}}));
}

TEST_F(MainJobTest, SourcesThatComeAndGoAreConnectedAndDropped)
{
    mRig.dropSender();
    JackSysexSender late("late-controller");
    ASSERT_TRUE(waitWithEvents(10s, [&] { return late.isConnectedTo(MainJobRig::listenerInputPort()); }));
    late.send({{0xF0, 0x7D, 0x02, 0xF7}});
    expectKeys({kLeft});

    const auto connected = late.connectionsOf(MainJobRig::listenerInputPort());
    EXPECT_EQ(connected, (std::vector<std::string>{"CBMIDI:Cuebolt", "late-controller:out"}));

    // The earlier sender's port is gone from the listener's connections.
    for (const auto& port : connected)
        EXPECT_EQ(port.find("cuebolt-sender"), std::string::npos);
}

TEST_F(MainJobTest, GoToStartPressesTheKeyThatTypesZOnAGermanLayout)
{
    ChildProcess setxkbmap({"setxkbmap", "de"});
    int status = 0;
    ASSERT_TRUE(setxkbmap.waitForExit(10000, &status));
    ASSERT_EQ(status, 0);
    send({{0xF0, 0x7D, 0x01, 0xF7}});
    expectKeys({kYPosition});
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
