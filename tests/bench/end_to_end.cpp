// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers

// The main job timed from outside: from the start of the JACK cycle in which a sender writes the
// play message to the stand-in GarageBand's KeyPress (both CLOCK_MONOTONIC), first through the
// built listener, then through the pipeline people put together today (jack_midi_dump read by a
// shell loop that runs `xdotool key space` per matching line). Prints p50/p99 of each and the
// ratio of the medians.

#include "BenchReport.h"
#include "KeyEventLog.h"
#include "MainJobRig.h"

#include <jack/jack.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using TestSupport::JackSysexSender;

constexpr int kWarmUpMessages = 20;
constexpr int kListenerMessages = 2000;
constexpr int kPipelineMessages = 200; // each one starts a process: a few seconds' worth
const std::vector<std::uint8_t> kPlay{0xF0, 0x7D, 0x03, 0xF7};

// Plays one message and waits for the key press and release it should bring; the microseconds
// from the sender's cycle start to the press, none when they did not come.
std::optional<double> playOnce(JackSysexSender& sender, const Bench::KeyEventLog& keys)
{
    const std::size_t before = keys.count();
    sender.send({kPlay});
    if (!keys.waitForCount(before + 2, 3s)) {
        std::fprintf(stderr, "message %llu: %zu of 2 key events within 3 s\n",
                     static_cast<unsigned long long>(sender.batchesWritten()), keys.count() - before);
        return std::nullopt;
    }
    const Bench::KeyEvent press = keys.at(before);
    if (!press.press) {
        std::fprintf(stderr, "message %llu: a key release came first\n",
                     static_cast<unsigned long long>(sender.batchesWritten()));
        return std::nullopt;
    }
    return double(press.receivedMicroseconds) - double(sender.lastWriteMicroseconds());
}

struct Run {
    Bench::Percentiles figures;
    int lost = 0;
};

// Paced: the gap after each message's key release leaves the receiving side idle again.
Run measure(JackSysexSender& sender, const Bench::KeyEventLog& keys, int messages,
            std::chrono::microseconds gap)
{
    Run run;
    std::vector<double> samples;
    for (int i = 0; i < kWarmUpMessages + messages; ++i) {
        const auto latency = playOnce(sender, keys);
        if (!latency && i == 0) {
            std::fprintf(stderr, "the first message brought no key press; this path does not work\n");
            run.lost = kWarmUpMessages + messages;
            return run;
        }
        if (!latency)
            ++run.lost;
        else if (i >= kWarmUpMessages)
            samples.push_back(*latency);
        std::this_thread::sleep_for(gap);
    }
    run.figures = Bench::percentiles(samples);
    return run;
}

// Connects two JACK ports from a short-lived client once the destination can take it.
void connectWhenPresent(const std::string& source, const std::string& destination)
{
    jack_status_t status;
    jack_client_t* client = jack_client_open("cb-bench-patchbay", JackNoStartServer, &status);
    if (!client)
        throw std::runtime_error("cannot open a JACK client to connect " + source);
    // The port shows up before its client is active, and only then can it be connected.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    int result;
    while ((result = jack_connect(client, source.c_str(), destination.c_str())) != 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    jack_client_close(client);
    if (result != 0)
        throw std::runtime_error("cannot connect " + source + " to " + destination);
}

// jack_midi_dump with its output piped into a shell loop that types space with xdotool for every
// play message, each one a process of its own. The stand-in keeps the focus it took when mapped.
class DumpToXdotool {
public:
    static constexpr const char* kClientName = "cb-midi-dump";

    DumpToXdotool()
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        mReader = std::make_unique<TestSupport::ChildProcess>(
            std::vector<std::string>{"bash", "-c",
                                     "while IFS= read -r line; do case \"$line\" in *'f0 7d 03 f7'*) "
                                     "xdotool key space ;; esac; done <&" +
                                         std::to_string(fds[0])},
            std::vector<int>{fds[0]});
        mDumper = std::make_unique<TestSupport::ChildProcess>(
            std::vector<std::string>{"jack_midi_dump", kClientName}, std::vector<int>{}, fds[1]);
        close(fds[0]);
        close(fds[1]);
    }
    // The dumper goes first, so the loop reads the end of its input and finishes.
    ~DumpToXdotool()
    {
        mDumper.reset();
        mReader->waitForExit(5000);
    }

    static std::string inputPort() { return std::string(kClientName) + ":input"; }

private:
    std::unique_ptr<TestSupport::ChildProcess> mReader;
    std::unique_ptr<TestSupport::ChildProcess> mDumper;
};

void printRun(const char* name, const Run& run)
{
    std::printf("  %-36s %s  lost %d\n", name, Bench::describe(run.figures).c_str(), run.lost);
    std::fflush(stdout);
}

} // namespace

int main()
{
    Bench::printHeader("bench_end_to_end: sender's JACK cycle start -> stand-in KeyPress");
    try {
        TestSupport::MainJobRig rig;
        Bench::KeyEventLog keys(rig.startTarget());
        rig.startListener();
        if (!rig.waitForListenerStart() || !rig.waitForSenderConnection()) {
            std::fprintf(stderr, "the listener did not start or did not connect to the sender\n");
            return 1;
        }
        JackSysexSender& sender = rig.sender();
        const double periodMs = 1000.0 * sender.periodFrames() / sender.sampleRate();
        std::printf("JACK period: %u frames at %u Hz = %.2f ms (jackd -d dummy)\n", sender.periodFrames(),
                    sender.sampleRate(), periodMs);

        const Run listener = measure(sender, keys, kListenerMessages, 2ms);
        printRun("listener:", listener);
        const double goalUs = 1000.0 * (periodMs + 1.0);
        std::printf("  goal p99 <= one period + 1 ms = %.0f us: %s\n", goalUs,
                    listener.figures.p99 <= goalUs ? "met" : "NOT met");
        std::fflush(stdout);

        rig.listener()->signal(SIGTERM);
        if (!rig.listener()->waitForExit(10s)) {
            std::fprintf(stderr, "the listener did not stop\n");
            return 1;
        }
        const Run pipeline = [&] {
            DumpToXdotool dumpToXdotool;
            connectWhenPresent(sender.portName(), DumpToXdotool::inputPort());
            return measure(sender, keys, kPipelineMessages, 50ms);
        }();
        printRun("jack_midi_dump | sh loop | xdotool:", pipeline);
        const double ratio = listener.figures.p50 > 0 ? pipeline.figures.p50 / listener.figures.p50 : 0;
        std::printf("  pipeline p50 / listener p50 = %.1fx (goal >= 10x: %s)\n", ratio,
                    ratio >= 10 ? "met" : "NOT met");
        std::printf("%s at the end\n", Bench::loadAverage().c_str());
        return listener.lost + pipeline.lost == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_end_to_end: %s\n", e.what());
        return 1;
    }
}
