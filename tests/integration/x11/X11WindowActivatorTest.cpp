// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/X11WindowActivator.h"
#include "CapturingLog.h"
#include "StandinTarget.h"
#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace Platform;
using TestSupport::StandinTarget;

class X11WindowActivatorTest : public testing::Test {
protected:
    static void SetUpTestSuite() { sServer = std::make_unique<TestSupport::PrivateXServer>(); }
    static void TearDownTestSuite() { sServer.reset(); }

    bool focusMovesTo(pid_t pid)
    {
        return X11Test::waitUntil([&] { return mConnection.focusedPid() == pid; });
    }

    static inline std::unique_ptr<TestSupport::PrivateXServer> sServer;
    X11Test::Connection mConnection;
    StandinTarget mFirst;
    StandinTarget mSecond; // started last, so it holds the focus
};

TEST_F(X11WindowActivatorTest, GivesTheProcessWindowTheFocus)
{
    ASSERT_EQ(mConnection.focusedPid(), mSecond.pid());
    X11WindowActivator activator;
    EXPECT_TRUE(activator.activateWindowOfProcess(mFirst.pid()));
    EXPECT_TRUE(focusMovesTo(mFirst.pid()));
    EXPECT_TRUE(activator.activateWindowOfProcess(mSecond.pid()));
    EXPECT_TRUE(focusMovesTo(mSecond.pid()));
}

TEST_F(X11WindowActivatorTest, ProcessWithoutWindowIsNotActivated)
{
    Doubles::CapturingLog log;
    X11WindowActivator activator;
    EXPECT_FALSE(activator.activateWindowOfProcess(getpid()));
    EXPECT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(mConnection.focusedPid(), mSecond.pid());
}

TEST_F(X11WindowActivatorTest, TakesTheFocusBackAfterSomeoneElseTookIt)
{
    X11WindowActivator activator;
    ASSERT_TRUE(activator.activateWindowOfProcess(mFirst.pid()));
    ASSERT_TRUE(focusMovesTo(mFirst.pid()));
    EXPECT_TRUE(activator.activateWindowOfProcess(mFirst.pid())) << "already active";

    xcb_set_input_focus(mConnection.get(), XCB_INPUT_FOCUS_PARENT, mConnection.windowOf(mSecond.pid()),
                        XCB_CURRENT_TIME);
    mConnection.sync();
    ASSERT_EQ(mConnection.focusedPid(), mSecond.pid());

    // The focus change reaches the activator as an event; until then it may think it is done.
    EXPECT_TRUE(X11Test::waitUntil([&] {
        activator.activateWindowOfProcess(mFirst.pid());
        return mConnection.focusedPid() == mFirst.pid();
    }));
}

TEST_F(X11WindowActivatorTest, ForgetsAWindowThatWentAway)
{
    X11WindowActivator activator;
    ASSERT_TRUE(activator.activateWindowOfProcess(mFirst.pid()));
    const pid_t gone = mFirst.pid();
    mFirst.process().terminate();
    EXPECT_TRUE(X11Test::waitUntil([&] { return !activator.activateWindowOfProcess(gone); }));
}

TEST_F(X11WindowActivatorTest, ConcurrentCallersAllSucceed)
{
    X11WindowActivator activator;
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                if (!activator.activateWindowOfProcess((t + i) % 2 ? mFirst.pid() : mSecond.pid()))
                    ++failures;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
}

// Stands in for an EWMH window manager: announces _NET_ACTIVE_WINDOW, lists the given clients and
// performs activation requests, recording them.
class FakeWindowManager {
public:
    struct Request {
        xcb_window_t window;
        std::uint32_t source;
    };

    FakeWindowManager(const std::vector<xcb_window_t>& clients)
        : mStop(eventfd(0, EFD_CLOEXEC)), mActiveWindow(mConnection.atom("_NET_ACTIVE_WINDOW"))
    {
        const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(mConnection.get(), mConnection.root(), XCB_CW_EVENT_MASK, &events);
        setClients(clients);
        mConnection.setProperty32(mConnection.root(), mConnection.atom("_NET_SUPPORTED"), XCB_ATOM_ATOM,
                                  {mActiveWindow});
        mThread = std::thread([this] { run(); });
    }
    ~FakeWindowManager()
    {
        const std::uint64_t one = 1;
        (void)!write(mStop, &one, sizeof one);
        mThread.join();
        close(mStop);
        xcb_delete_property(mConnection.get(), mConnection.root(), mConnection.atom("_NET_SUPPORTED"));
        xcb_delete_property(mConnection.get(), mConnection.root(), mConnection.atom("_NET_CLIENT_LIST"));
        mConnection.sync();
    }

    void setClients(const std::vector<xcb_window_t>& clients)
    {
        mConnection.setProperty32(mConnection.root(), mConnection.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW,
                                  clients);
    }

    std::vector<Request> requests() const
    {
        std::lock_guard lock(mMutex);
        return mRequests;
    }

private:
    void run()
    {
        pollfd fds[] = {{xcb_get_file_descriptor(mConnection.get()), POLLIN, 0}, {mStop, POLLIN, 0}};
        while (!fds[1].revents) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(mConnection.get())) {
                if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE)
                    handle(*reinterpret_cast<xcb_client_message_event_t*>(event));
                std::free(event);
            }
            poll(fds, 2, -1);
        }
    }

    void handle(const xcb_client_message_event_t& message)
    {
        if (message.type != mActiveWindow)
            return;
        {
            std::lock_guard lock(mMutex);
            mRequests.push_back({message.window, message.data.data32[0]});
        }
        xcb_set_input_focus(mConnection.get(), XCB_INPUT_FOCUS_PARENT, message.window, XCB_CURRENT_TIME);
        mConnection.setProperty32(mConnection.root(), mActiveWindow, XCB_ATOM_WINDOW, {message.window});
    }

    X11Test::Connection mConnection;
    int mStop;
    xcb_atom_t mActiveWindow;
    mutable std::mutex mMutex;
    std::vector<Request> mRequests;
    std::thread mThread;
};

TEST_F(X11WindowActivatorTest, AsksTheWindowManagerWhenItOffersActivation)
{
    const xcb_window_t first = mConnection.windowOf(mFirst.pid());
    const xcb_window_t second = mConnection.windowOf(mSecond.pid());
    FakeWindowManager windowManager({first});
    X11WindowActivator activator;
    EXPECT_FALSE(activator.activateWindowOfProcess(mSecond.pid())) << "not among the managed clients";

    windowManager.setClients({first, second});
    ASSERT_TRUE(activator.activateWindowOfProcess(mFirst.pid()));
    ASSERT_TRUE(focusMovesTo(mFirst.pid()));
    ASSERT_TRUE(X11Test::waitUntil([&] {
        return mConnection.property32(mConnection.root(), mConnection.atom("_NET_ACTIVE_WINDOW"),
                                      XCB_ATOM_WINDOW) == first;
    }));
    // Already active: no further requests. The one for the second window comes after any of them.
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(activator.activateWindowOfProcess(mFirst.pid()));
    ASSERT_TRUE(activator.activateWindowOfProcess(mSecond.pid()));
    ASSERT_TRUE(focusMovesTo(mSecond.pid()));

    const auto requests = windowManager.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].window, first);
    EXPECT_EQ(requests[1].window, second);
    for (const auto& request : requests)
        EXPECT_EQ(request.source, 2u) << "source indication";
}

} // namespace
