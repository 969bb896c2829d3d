// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CapturingLog.h"
#include "PrivateServers.h"
#include "QtTestSupport.h"
#include "SampleUserInfo.h"

#include "Platform/Linux/DBusNotificationCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace Platform;
using namespace DBusTest;

namespace {

constexpr const char* prefsChanged = "Cuebolt prefs changed";
constexpr const char* quitRequest = "Cuebolt listener quit request";
constexpr const char* listenerID = "org.cuebolt.listener";
constexpr const char* done = "done";

using Received = std::pair<std::string, std::optional<std::string>>;

struct Inbox {
    std::vector<Notification> notifications;
    bool allOnMainThread = true;

    std::vector<Received> namesAndObjects() const
    {
        std::vector<Received> result;
        for (const auto& n : notifications)
            result.emplace_back(n.name, n.object);
        return result;
    }
};

class DBusNotificationCenterTest : public DBusTest::PrivateBusTest {
protected:
    void observe(Inbox& inbox, std::optional<std::string> name, std::optional<std::string> object)
    {
        mCenter.addObserver(
            &inbox,
            [&inbox](const Notification& n) {
                inbox.notifications.push_back(n);
                inbox.allOnMainThread &= QThread::currentThread() == qApp->thread();
            },
            std::move(name), std::move(object));
    }

    // Posts from another process; the bus has routed the post when the peer exits.
    static void
    postFromPeer(const QStringList& arguments,
                 const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess peer;
        peer.setProcessEnvironment(environment);
        peer.start(NOTIFICATION_PEER, QStringList{"post"} + arguments);
        ASSERT_TRUE(peer.waitForFinished(10000));
        ASSERT_EQ(peer.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(peer.exitCode(), 0) << peer.readAllStandardError().toStdString();
        sLastPeerErrors = peer.readAllStandardError().toStdString();
    }

    static inline std::string sLastPeerErrors;
    DBusNotificationCenter mCenter;
};

TEST_F(DBusNotificationCenterTest, ObserversReceiveOnlyPostsMatchingTheirNameAndObject)
{
    struct Case {
        const char* observer;
        std::optional<std::string> name;
        std::optional<std::string> object;
        std::vector<Received> expected;
    };
    const std::vector<Case> cases = {
        {"name and object", prefsChanged, listenerID, {{prefsChanged, listenerID}}},
        {"name only",
         prefsChanged,
         std::nullopt,
         {{prefsChanged, listenerID}, {prefsChanged, "org.other"}, {prefsChanged, std::nullopt}}},
        {"object only", std::nullopt, listenerID, {{prefsChanged, listenerID}, {quitRequest, listenerID}}},
        {"another name", quitRequest, listenerID, {{quitRequest, listenerID}}},
    };
    std::vector<Inbox> inboxes(cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        observe(inboxes[i], cases[i].name, cases[i].object);
    Inbox sentinel;
    observe(sentinel, done, std::nullopt);

    // One sender, so the bus keeps the order: once "done" is in, every post before it has come.
    postFromPeer({prefsChanged, listenerID, "none", prefsChanged, "org.other", "none", quitRequest,
                  listenerID, "none", prefsChanged, "-", "none", done, "-", "none"});
    ASSERT_TRUE(waitFor([&] { return !sentinel.notifications.empty(); }));

    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(inboxes[i].namesAndObjects(), cases[i].expected) << cases[i].observer;
        EXPECT_TRUE(inboxes[i].allOnMainThread) << cases[i].observer;
    }
}

TEST_F(DBusNotificationCenterTest, NestedUserInfoFromAnotherProcessArrivesIntact)
{
    Inbox inbox;
    observe(inbox, prefsChanged, std::nullopt);
    postFromPeer({prefsChanged, listenerID, "sample"});
    ASSERT_TRUE(waitFor([&] { return !inbox.notifications.empty(); }));
    EXPECT_EQ(inbox.notifications[0].userInfo, sampleUserInfoAsReceived());
}

TEST_F(DBusNotificationCenterTest, AbsentObjectAndUserInfoArriveAsNoneAndEmpty)
{
    Inbox inbox;
    observe(inbox, prefsChanged, std::nullopt);
    postFromPeer({prefsChanged, "-", "none"});
    ASSERT_TRUE(waitFor([&] { return !inbox.notifications.empty(); }));
    EXPECT_EQ(inbox.notifications[0].object, std::nullopt);
    EXPECT_TRUE(inbox.notifications[0].userInfo.empty());
}

TEST_F(DBusNotificationCenterTest, AnotherProcessReceivesOnlyWhatMatchesItsObserver)
{
    QProcess peer;
    peer.start(NOTIFICATION_PEER, {"observe", prefsChanged, listenerID, "1"});
    ASSERT_EQ(readLine(peer, std::chrono::seconds(10)), "ready");

    mCenter.postNotificationName(prefsChanged, "org.other", std::nullopt, true);
    mCenter.postNotificationName(quitRequest, listenerID, std::nullopt, true);
    mCenter.postNotificationName(prefsChanged, listenerID, sampleUserInfo(), true);

    ASSERT_TRUE(peer.waitForFinished(10000));
    EXPECT_EQ(peer.exitCode(), 0);
    EXPECT_EQ(remainingLines(peer),
              std::vector<std::string>{std::string(prefsChanged) + "|" + listenerID + "|" +
                                       PlistValue(sampleUserInfoAsReceived()).description()});
}

struct Removal {
    const char* label;
    std::optional<std::string> name;
    std::optional<std::string> object;
    bool stillDelivered;
};

class DBusNotificationRemovalTest : public DBusNotificationCenterTest,
                                    public ::testing::WithParamInterface<Removal> {};

TEST_P(DBusNotificationRemovalTest, RemoveObserverStopsDeliveryOfWhatItNames)
{
    const Removal& removal = GetParam();
    Inbox removed, control;
    observe(removed, prefsChanged, listenerID);
    observe(control, prefsChanged, listenerID);

    mCenter.postNotificationName(prefsChanged, listenerID); // this process hears its own posts
    ASSERT_TRUE(
        waitFor([&] { return removed.notifications.size() == 1 && control.notifications.size() == 1; }));

    mCenter.removeObserver(&removed, removal.name, removal.object);
    mCenter.postNotificationName(prefsChanged, listenerID);
    ASSERT_TRUE(waitFor([&] { return control.notifications.size() == 2; }));
    QCoreApplication::processEvents();

    EXPECT_EQ(removed.notifications.size(), removal.stillDelivered ? 2u : 1u);
    EXPECT_TRUE(removed.allOnMainThread && control.allOnMainThread);
}

INSTANTIATE_TEST_SUITE_P(Forms, DBusNotificationRemovalTest,
                         ::testing::Values(Removal{"everything", std::nullopt, std::nullopt, false},
                                           Removal{"by_name", prefsChanged, std::nullopt, false},
                                           Removal{"by_name_and_object", prefsChanged, listenerID, false},
                                           Removal{"another_name", quitRequest, std::nullopt, true},
                                           Removal{"another_object", prefsChanged, "org.other", true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(DBusNotificationCenterTest, HandlerMayRemoveItsOwnObserver)
{
    int calls = 0;
    Inbox control;
    mCenter.addObserver(
        &calls,
        [&](const Notification&) {
            ++calls;
            mCenter.removeObserver(&calls);
        },
        prefsChanged, std::nullopt);
    observe(control, prefsChanged, std::nullopt);

    mCenter.postNotificationName(prefsChanged, std::nullopt);
    mCenter.postNotificationName(prefsChanged, std::nullopt);
    ASSERT_TRUE(waitFor([&] { return control.notifications.size() == 2; }));
    EXPECT_EQ(calls, 1);
}

TEST_F(DBusNotificationCenterTest, MalformedSignalIsLoggedAndIgnored)
{
    Doubles::CapturingLog log;
    Inbox inbox;
    observe(inbox, prefsChanged, std::nullopt);

    QDBusMessage malformed =
        QDBusMessage::createSignal("/com/plexwerk/DistributedNotificationCenter",
                                   "com.plexwerk.DistributedNotificationCenter", "Notification");
    malformed << QString(prefsChanged) << 7;
    ASSERT_TRUE(QDBusConnection::sessionBus().send(malformed));
    mCenter.postNotificationName(prefsChanged, listenerID);

    ASSERT_TRUE(waitFor([&] { return !inbox.notifications.empty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(inbox.namesAndObjects(), (std::vector<Received>{{prefsChanged, listenerID}}));
    const auto lines = log.lines();
    EXPECT_EQ(std::count_if(
                  lines.begin(), lines.end(),
                  [](const std::string& l) { return l.find("expected (s name, s object, a{sv}") != l.npos; }),
              1);
}

TEST_F(DBusNotificationCenterTest, ValuesOfOtherSendersBecomePropertyListValuesOrAreLeftOut)
{
    Doubles::CapturingLog log;
    Inbox inbox;
    observe(inbox, prefsChanged, std::nullopt);

    // What a script's D-Bus binding may send: other integer widths, string arrays, object paths.
    QDBusMessage foreign =
        QDBusMessage::createSignal("/com/plexwerk/DistributedNotificationCenter",
                                   "com.plexwerk.DistributedNotificationCenter", "Notification");
    foreign << QString(prefsChanged) << QString()
            << QVariantMap{{"strings", QStringList{"a", "b"}},
                           {"int32", -5},
                           {"uint32", 7u},
                           {"byte", QVariant::fromValue(uchar(200))},
                           {"uint64", QVariant::fromValue(qulonglong(1) << 40)},
                           {"uint64TooLarge", QVariant::fromValue(~qulonglong(0))},
                           {"path", QVariant::fromValue(QDBusObjectPath("/org/example"))}};
    ASSERT_TRUE(QDBusConnection::sessionBus().send(foreign));

    ASSERT_TRUE(waitFor([&] { return !inbox.notifications.empty(); }));
    const PlistDictionary expected{{"strings", PlistArray{"a", "b"}},
                                   {"int32", -5},
                                   {"uint32", 7},
                                   {"byte", 200},
                                   {"uint64", std::int64_t{1} << 40}};
    EXPECT_EQ(inbox.notifications[0].userInfo, expected);
    EXPECT_EQ(log.lines().size(), 2u); // one line for each value left out
}

TEST_F(DBusNotificationCenterTest, WithoutSessionBusPostsDoNothingAndLogOnce)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/cuebolt-test-bus");
    postFromPeer({prefsChanged, listenerID, "sample", quitRequest, listenerID, "none", done, "-", "none"},
                 environment);

    const std::string& errors = sLastPeerErrors;
    std::size_t count = 0;
    for (std::size_t at = errors.find("cannot reach the D-Bus session bus"); at != std::string::npos;
         at = errors.find("cannot reach the D-Bus session bus", at + 1))
        ++count;
    EXPECT_EQ(count, 1u) << errors;
}

} // namespace
