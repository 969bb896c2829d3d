// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers

// Latency from jack_midi_event_write in another JACK client to our read proc, over 1000 sysex
// events, one per cycle, on a private jackd -d dummy. Prints p50, p99 and the maximum.

#include "JackTestWriter.h"
#include "Platform/Linux/JackMIDIServices.h"
#include "PrivateServers.h"

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using TestSupport::Bytes;

constexpr std::size_t eventCount = 1000;

// Event i is F0 7D hi lo F7: its number in two 7-bit bytes.
Bytes numberedEvent(std::size_t i)
{
    return {0xF0, 0x7D, static_cast<std::uint8_t>(i >> 7), static_cast<std::uint8_t>(i & 0x7F), 0xF7};
}

struct Arrivals {
    std::vector<std::atomic<std::int64_t>> nanoseconds = std::vector<std::atomic<std::int64_t>>(eventCount);
    std::atomic<bool> any{false};

    static void readProc(const Platform::MIDIPacketList* list, void* refCon, void*)
    {
        const std::int64_t now = Clock::now().time_since_epoch().count();
        auto* arrivals = static_cast<Arrivals*>(refCon);
        arrivals->any = true;
        Platform::MIDIPacketListWalker(*list).forEachPacket([&](const Platform::MIDIPacket& packet) {
            if (packet.data.size() != 5 || packet.data[1] != 0x7D)
                return;
            const std::size_t i = (std::size_t{packet.data[2]} << 7) | packet.data[3];
            if (i < eventCount)
                arrivals->nanoseconds[i] = now;
        });
    }
};

bool waitFor(const std::function<bool()>& condition)
{
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < deadline) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return condition();
}

double microseconds(std::int64_t nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1000.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestSupport::PrivateJackServer server;
    Platform::JackMIDIServices services;
    Arrivals arrivals;
    Platform::MIDIClientRef client = 0;
    Platform::MIDIPortRef port = 0;
    if (services.MIDIClientCreate("CBMIDI", nullptr, nullptr, &client) != 0 ||
        services.MIDIInputPortCreate(client, "Input port", &Arrivals::readProc, &arrivals, &port) != 0) {
        std::fprintf(stderr, "cannot create the JACK MIDI client\n");
        return 1;
    }

    const Platform::ItemCount before = services.MIDIGetNumberOfSources();
    TestSupport::JackTestWriter writer("latency-writer");
    if (!waitFor([&] { return services.MIDIGetNumberOfSources() == before + 1; })) {
        std::fprintf(stderr, "the writer's port did not show up\n");
        return 1;
    }
    for (Platform::ItemCount i = 0; i < services.MIDIGetNumberOfSources(); ++i)
        services.MIDIPortConnectSource(port, services.MIDIGetSource(i), nullptr);
    const Bytes probe{0xF0, 0x7E, 0x00, 0xF7};
    if (!waitFor([&] {
            writer.writeInOneCycle({probe});
            return arrivals.any.load();
        })) {
        std::fprintf(stderr, "the connection carries no events\n");
        return 1;
    }

    std::vector<std::int64_t> latencies;
    for (std::size_t i = 0; i < eventCount; ++i) {
        const Clock::time_point sent = writer.writeInOneCycle({numberedEvent(i)}).writtenAt;
        if (!waitFor([&] { return arrivals.nanoseconds[i].load() != 0; })) {
            std::fprintf(stderr, "event %zu never arrived\n", i);
            return 1;
        }
        latencies.push_back(arrivals.nanoseconds[i].load() - sent.time_since_epoch().count());
    }

    std::sort(latencies.begin(), latencies.end());
    std::printf("JACK MIDI write -> read proc latency over %zu events (dummy driver, %u frames at %u Hz):\n",
                eventCount, TestSupport::PrivateJackServer::periodFrames,
                TestSupport::PrivateJackServer::sampleRate);
    std::printf("  p50 %.1f us   p99 %.1f us   max %.1f us   dropped %llu\n",
                microseconds(latencies[eventCount / 2]), microseconds(latencies[eventCount * 99 / 100]),
                microseconds(latencies.back()),
                static_cast<unsigned long long>(services.droppedEventCount()));
    return 0;
}
