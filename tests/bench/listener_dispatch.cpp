// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers

// Time inside the listener from a packet list handed to the read proc until both key events of the
// matching function are flushed to the X server: a controller on the real X11 key poster, keyboard
// layout and workspace (the stand-in runs as GarageBand on a private Xvfb, so it is really
// activated), in-memory doubles for the rest. Prints p50/p99/max per function.

#include "BenchReport.h"
#include "KeyEventLog.h"
#include "MainJobRig.h"

#include "MainInterface.h"

#include "FakeApplication.h"
#include "FakeMIDIServices.h"
#include "MemoryPreferenceStore.h"

#include "Platform/Linux/LinuxWorkspace.h"
#include "Platform/Linux/PosixLaunchServices.h"
#include "Platform/Linux/ProcFsProcessList.h"
#include "Platform/Linux/X11WindowActivator.h"
#include "Platform/Linux/XTestKeyEventPoster.h"
#include "Platform/Linux/XkbKeyboardLayoutResources.h"
#include "Platform/LocalNotificationCenter.h"
#include "Platform/MIDIPacketList.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sys/resource.h>
#include <thread>

namespace {

constexpr int kWarmUpMessages = 200;
constexpr int kTimedMessages = 10000;
// A controller sends a message now and then, not back to back; the gap also lets the X server and
// the stand-in take the events, so the figure is the dispatch, not the server's backlog.
constexpr auto kGap = std::chrono::microseconds(100);

struct Function {
    const char* name;
    std::uint8_t number; // the default message is F0 7D <number> F7
};

constexpr Function kFunctions[] = {{"go to start (Z, looked up)", 1}, {"rewind (left, fixed)", 2},
                                   {"play (space, fixed)", 3},        {"forward (right, fixed)", 4},
                                   {"cycle (c, looked up)", 5},       {"record (R, looked up)", 6}};

std::string listenerBundlePath()
{
    // .../CueboltListener.app/Contents/MacOS/CueboltListener
    return std::filesystem::path(TestSupport::MainJobRig::listenerExecutable())
        .parent_path()
        .parent_path()
        .parent_path()
        .native();
}

// The listener's controller on the real X11 services of $DISPLAY and doubles for everything else.
class ListenerOnX11 {
public:
    ListenerOnX11()
        : mWorkspace(mProcesses, mLaunchServices, mActivator),
          mController(loadMainInterface(
              ListenerServices{mApplication, mPreferences, mDistributed, mWorkspace, mMIDI, mKeyEvents,
                               mKeyboardLayout, Platform::Bundle::bundleWithPath(listenerBundlePath())}))
    {
    }
    CBController& controller() { return *mController; }

private:
    Doubles::FakeApplication mApplication;
    Doubles::MemoryPreferenceStore mPreferences;
    Platform::LocalNotificationCenter mDistributed;
    Platform::ProcFsProcessList mProcesses;
    Platform::PosixLaunchServices mLaunchServices;
    Platform::X11WindowActivator mActivator;
    Platform::LinuxWorkspace mWorkspace;
    Doubles::FakeMIDIServices mMIDI;
    Platform::XTestKeyEventPoster mKeyEvents;
    Platform::XkbKeyboardLayoutResources mKeyboardLayout;
    std::unique_ptr<CBController> mController; // last, so it goes before the services it uses
};

long involuntarySwitches()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_nivcsw;
}

struct Dispatch {
    double microseconds;
    bool preempted; // the scheduler took the core away meanwhile (the X server, woken by a flush, often)
};

Dispatch dispatch(CBController& controller, const Platform::MIDIPacketList& list)
{
    const long switchesBefore = involuntarySwitches();
    const auto start = std::chrono::steady_clock::now();
    controller.midiReadProcWithPacketList(&list, nullptr, nullptr);
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::micro>(end - start).count(),
            involuntarySwitches() != switchesBefore};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv); // the workspace's watcher belongs to a main thread
    Bench::printHeader("bench_listener_dispatch: read proc -> both key events flushed to X");
    try {
        TestSupport::MainJobRig rig;
        Bench::KeyEventLog keys(rig.startTarget());
        ListenerOnX11 listener;
        if (!listener.controller().garageBandRunningFlag()) {
            std::fprintf(stderr, "the listener does not see the stand-in GarageBand running\n");
            return 1;
        }
        std::printf("%d messages per function after %d to warm up, %lld us apart, Xvfb %s\n", kTimedMessages,
                    kWarmUpMessages, static_cast<long long>(kGap.count()), std::getenv("DISPLAY"));

        std::size_t posted = 0;
        for (const Function& function : kFunctions) {
            const auto list = Platform::MIDIPacketList::withPackets({{0xF0, 0x7D, function.number, 0xF7}});
            std::vector<double> samples, undisturbed;
            samples.reserve(kTimedMessages);
            undisturbed.reserve(kTimedMessages);
            for (int i = 0; i < kWarmUpMessages + kTimedMessages; ++i) {
                const Dispatch timed = dispatch(listener.controller(), list);
                if (i >= kWarmUpMessages)
                    samples.push_back(timed.microseconds);
                if (i >= kWarmUpMessages && !timed.preempted)
                    undisturbed.push_back(timed.microseconds);
                std::this_thread::sleep_for(kGap);
            }
            posted += 2 * (kWarmUpMessages + kTimedMessages);
            const Bench::Percentiles whole = Bench::percentiles(samples),
                                     alone = Bench::percentiles(undisturbed);
            std::printf("  %-28s %s\n  %-28s   preempted in %zu; without those: p50 %.1f us  p99 %.1f us\n",
                        function.name, Bench::describe(whole).c_str(), "", whole.count - alone.count,
                        alone.p50, alone.p99);
            std::fflush(stdout);
        }
        const bool all = keys.waitForCount(posted, std::chrono::seconds(10));
        std::printf("key events the stand-in received: %zu of %zu%s\n", keys.count(), posted,
                    all ? "" : "  (MISSING EVENTS)");
        std::printf("%s at the end\n", Bench::loadAverage().c_str());
        return all ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_listener_dispatch: %s\n", e.what());
        return 1;
    }
}
