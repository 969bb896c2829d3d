// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers

// 2,000 matching messages a second for 10 s through JACK into the built listener, play and go to
// start in turn, so a lost, doubled or reordered message shows in the stand-in's key events.
// Prints the counts and where the sequence first departs from press/release pairs in turn.

#include "BenchReport.h"
#include "KeyEventLog.h"
#include "MainJobRig.h"

#include <cstdio>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;
using TestSupport::JackSysexSender;

constexpr int kMessagesPerSecond = 2000;
constexpr int kSeconds = 10;
constexpr int kMessages = kMessagesPerSecond * kSeconds;
const std::vector<std::uint8_t> kGoToStart{0xF0, 0x7D, 0x01, 0xF7};
const std::vector<std::uint8_t> kPlay{0xF0, 0x7D, 0x03, 0xF7};

const std::vector<std::uint8_t>& messageAt(int i)
{
    return i % 2 == 0 ? kPlay : kGoToStart;
}

// The X key code a message brings, learnt from one message on its own; none when nothing came.
std::optional<int> keycodeOf(JackSysexSender& sender, const Bench::KeyEventLog& keys,
                             const std::vector<std::uint8_t>& message)
{
    const std::size_t before = keys.count();
    sender.send({message});
    if (!keys.waitForCount(before + 2, 5s))
        return std::nullopt;
    return keys.at(before).keycode;
}

// Sends the messages due by now in one batch, at most one batch per JACK cycle (the sender takes
// one batch a cycle), so the rate holds whatever the period.
void flood(JackSysexSender& sender)
{
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t batchesBefore = sender.batchesWritten();
    std::uint64_t batchesSent = 0;
    int sent = 0;
    while (sent < kMessages) {
        const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const int due = std::min(kMessages, int(elapsed * kMessagesPerSecond));
        if (due > sent && sender.batchesWritten() - batchesBefore == batchesSent) {
            std::vector<std::vector<std::uint8_t>> batch;
            for (; sent < due; ++sent)
                batch.push_back(messageAt(sent));
            sender.send(batch);
            ++batchesSent;
        }
        std::this_thread::sleep_for(200us);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("sent %d messages in %llu batches over %.2f s (%.0f a second)\n", kMessages,
                static_cast<unsigned long long>(batchesSent), seconds, kMessages / seconds);
}

// Waits until the stand-in has reported `expected` events, then until it stays quiet for a
// while, so doubled events are counted too.
void waitForQuiet(const Bench::KeyEventLog& keys, std::size_t expected)
{
    keys.waitForCount(expected, 20s);
    for (std::size_t seen = keys.count(); keys.waitForCount(seen + 1, 500ms); seen = keys.count()) {
    }
}

// True when every message brought exactly its press and release, in order.
bool report(const std::vector<Bench::KeyEvent>& events, int playKey, int goToStartKey)
{
    std::size_t presses = 0, releases = 0, playPresses = 0, goToStartPresses = 0;
    std::optional<std::size_t> firstDeparture;
    for (std::size_t k = 0; k < events.size(); ++k) {
        const Bench::KeyEvent& event = events[k];
        (event.press ? presses : releases)++;
        if (event.press && event.keycode == playKey)
            ++playPresses;
        else if (event.press && event.keycode == goToStartKey)
            ++goToStartPresses;
        const int expectedKey = (k / 2) % 2 == 0 ? playKey : goToStartKey;
        if (!firstDeparture && (event.press != (k % 2 == 0) || event.keycode != expectedKey))
            firstDeparture = k;
    }
    std::printf("stand-in key events: %zu KeyPress, %zu KeyRelease (expected %d each)\n", presses, releases,
                kMessages);
    std::printf("  presses: play %zu, go to start %zu (expected %d each)\n", playPresses, goToStartPresses,
                kMessages / 2);
    if (firstDeparture)
        std::printf("  ORDER: the sequence departs from press/release pairs in turn at event %zu\n",
                    *firstDeparture);
    else
        std::printf("  order: press/release pairs, play and go to start in turn, throughout\n");
    const bool exact = !firstDeparture && events.size() == std::size_t(2 * kMessages);
    std::printf("  lost or doubled key events: %s\n", exact ? "none" : "YES");
    return exact;
}

} // namespace

int main()
{
    Bench::printHeader("bench_flood: 2,000 messages a second for 10 s into the listener");
    try {
        TestSupport::MainJobRig rig;
        Bench::KeyEventLog keys(rig.startTarget());
        auto& listener = rig.startListener();
        if (!rig.waitForListenerStart() || !rig.waitForSenderConnection()) {
            std::fprintf(stderr, "the listener did not start or did not connect to the sender\n");
            return 1;
        }
        JackSysexSender& sender = rig.sender();
        const auto playKey = keycodeOf(sender, keys, kPlay);
        const auto goToStartKey = keycodeOf(sender, keys, kGoToStart);
        if (!playKey || !goToStartKey) {
            std::fprintf(stderr, "a single message brought no key event\n");
            return 1;
        }
        std::printf("JACK period: %u frames at %u Hz; play is X key %d, go to start X key %d\n",
                    sender.periodFrames(), sender.sampleRate(), *playKey, *goToStartKey);

        const std::size_t before = keys.count();
        flood(sender);
        waitForQuiet(keys, before + 2 * kMessages);
        const auto all = keys.events();
        const bool exact = report({all.begin() + std::ptrdiff_t(before), all.end()}, *playKey, *goToStartKey);

        const bool alive = !listener.waitForExit(0ms).has_value();
        std::printf("listener: %s; log lines about dropped MIDI events: %zu\n",
                    alive ? "still running" : "EXITED", listener.countLines("dropped"));
        std::printf("%s at the end\n", Bench::loadAverage().c_str());
        return alive && exact ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_flood: %s\n", e.what());
        return 1;
    }
}
