// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "QtTestSupport.h"

#include "Platform/Application.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <optional>
#include <thread>

using namespace Platform;
using namespace DBusTest;

namespace {

const std::vector<std::string> launchedThenTerminated = {"launched offscreen", "will-terminate",
                                                         "interface-destroyed"};

// The peer runs without a display and without a chosen Qt platform: it must pick offscreen.
QProcessEnvironment headlessEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    return environment;
}

struct PeerRun {
    std::vector<std::string> lines;
    int exitCode = -1;
};

PeerRun runPeer(const QString& mode, std::optional<int> signalOnceLaunched = std::nullopt)
{
    QProcess peer;
    peer.setProcessEnvironment(headlessEnvironment());
    peer.start(APPLICATION_PEER, {mode});
    PeerRun run;
    if (signalOnceLaunched) {
        run.lines.push_back(readLine(peer, std::chrono::seconds(10)));
        kill(pid_t(peer.processId()), *signalOnceLaunched);
    }
    if (!peer.waitForFinished(10000) || peer.exitStatus() != QProcess::NormalExit)
        return run;
    for (auto& line : remainingLines(peer))
        run.lines.push_back(std::move(line));
    run.exitCode = peer.exitCode();
    return run;
}

struct SignalCase {
    const char* label;
    int posixSignal;
};

// What a logout sends.

class TerminationSignalTest : public ::testing::TestWithParam<SignalCase> {};

TEST_P(TerminationSignalTest, EndsThroughWillTerminateExactlyOnceAndExitsZero)
{
    const PeerRun run = runPeer("wait", GetParam().posixSignal);
    EXPECT_EQ(run.lines, launchedThenTerminated);
    EXPECT_EQ(run.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignalTest,
                         ::testing::Values(SignalCase{"SIGTERM", SIGTERM}, SignalCase{"SIGINT", SIGINT}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ApplicationTerminateTest, TwoSignalsAtOnceTerminateOnce)
{
    const PeerRun run = runPeer("signal-twice-when-launched");
    EXPECT_EQ(run.lines, launchedThenTerminated);
    EXPECT_EQ(run.exitCode, 0);
}

TEST(ApplicationTerminateTest, FromTheLaunchHandlerEndsTheLoop)
{
    const PeerRun run = runPeer("terminate-when-launched");
    EXPECT_EQ(run.lines, launchedThenTerminated);
    EXPECT_EQ(run.exitCode, 0);
}

TEST(ApplicationTerminateTest, WhileTheInterfaceLoadsEndsBeforeLaunchingFinishes)
{
    const PeerRun run = runPeer("terminate-while-loading");
    EXPECT_EQ(run.lines, (std::vector<std::string>{"will-terminate", "interface-destroyed"}));
    EXPECT_EQ(run.exitCode, 0);
}

// What the in-process application saw; it outlives the application.
struct PerformResults {
    bool waitingOnMainRanAtOnce = false;
    bool waitingRanOnMain = false;
    bool waitingBlockedUntilDone = false;
    bool queuedRanOnMain = false;
    int willTerminateCalls = 0;
};

// A worker thread hands work to the main thread while the loop runs, then ends the application.
class PerformingDelegate : public ApplicationDelegate, public InterfaceObjects {
public:
    PerformingDelegate(Application& app, PerformResults& results) : mApp(app), mResults(results)
    {
        mApp.setDelegate(this);
    }
    ~PerformingDelegate() override
    {
        if (mWorker.joinable())
            mWorker.join();
    }

    void applicationDidFinishLaunching() override
    {
        mMainThread = std::this_thread::get_id();
        bool ran = false;
        mApp.performOnMainThread([&] { ran = true; }, true);
        mResults.waitingOnMainRanAtOnce = ran;
        mWorker = std::thread([this] { work(); });
    }
    void applicationWillTerminate() override { ++mResults.willTerminateCalls; }

private:
    void work()
    {
        std::atomic<bool> ran = false;
        mApp.performOnMainThread(
            [&] {
                mResults.waitingRanOnMain = std::this_thread::get_id() == mMainThread;
                ran = true;
            },
            true);
        mResults.waitingBlockedUntilDone = ran;
        mApp.performOnMainThread(
            [this] {
                mResults.queuedRanOnMain = std::this_thread::get_id() == mMainThread;
                mApp.terminate(this);
            },
            false);
    }

    Application& mApp;
    PerformResults& mResults;
    std::thread mWorker;
    std::thread::id mMainThread;
};

TEST(ApplicationPerformTest, WorkFromAnotherThreadRunsOnTheMainThread)
{
    int argc = 1;
    char arg0[] = "ApplicationTest";
    char* argv[] = {arg0, nullptr};
    PerformResults results;

    const int exitCode = NSApplicationMain(
        argc, argv, [&](Application& app) { return std::make_unique<PerformingDelegate>(app, results); });

    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(results.waitingOnMainRanAtOnce);
    EXPECT_TRUE(results.waitingRanOnMain);
    EXPECT_TRUE(results.waitingBlockedUntilDone);
    EXPECT_TRUE(results.queuedRanOnMain);
    EXPECT_EQ(results.willTerminateCalls, 1);
}

} // namespace
