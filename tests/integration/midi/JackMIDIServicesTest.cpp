// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/JackMIDIServices.h"
#include "JackTestWriter.h"
#include "MIDITestSupport.h"
#include "PrivateServers.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <jack/midiport.h>
#include <memory>
#include <utility>

namespace {

using namespace MIDITest;
using Platform::JackMIDIServices;
using Platform::MIDIEndpointRef;
using TestSupport::JackTestWriter;

const Bytes startStop{0xF0, 0x7D, 0x03, 0xF7};

Bytes sysexOfSize(std::size_t size, std::uint8_t fill)
{
    Bytes message(size, fill);
    message.front() = 0xF0;
    message.back() = 0xF7;
    return message;
}

// Does what the listener does with the services, against a private jackd -d dummy.
class JackMIDIServicesTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ensureCoreApplication();
        sServer = std::make_unique<TestSupport::PrivateJackServer>();
    }
    static void TearDownTestSuite() { sServer.reset(); }

    // Client, virtual source and input port, then the first setup change that follows them.
    void startListening()
    {
        ASSERT_EQ(
            services.MIDIClientCreate("CBMIDI", &NotificationRecorder::notifyProc, &notifications, &client),
            0);
        ASSERT_EQ(services.MIDISourceCreate(client, "Cuebolt", &virtualSource), 0);
        ASSERT_EQ(services.MIDIInputPortCreate(client, "Input port", &PacketRecorder::readProc, &received,
                                               &inputPort),
                  0);
        ASSERT_TRUE(pollUntil([this] { return notifications.setupChanges() >= 1; }));
    }

    std::vector<MIDIEndpointRef> sources()
    {
        std::vector<MIDIEndpointRef> refs;
        for (Platform::ItemCount i = 0, n = services.MIDIGetNumberOfSources(); i < n; ++i)
            refs.push_back(services.MIDIGetSource(i));
        return refs;
    }

    bool hasSource(MIDIEndpointRef source)
    {
        const std::vector<MIDIEndpointRef> all = sources();
        return std::find(all.begin(), all.end(), source) != all.end();
    }

    // Waits for the setup change a new writer causes and returns the one source that is new.
    MIDIEndpointRef sourceAddedBy(const std::function<void()>& addSource)
    {
        const std::vector<MIDIEndpointRef> before = sources();
        const int changes = notifications.setupChanges();
        addSource();
        EXPECT_TRUE(pollUntil([&] { return notifications.setupChanges() > changes; }));
        std::vector<MIDIEndpointRef> added;
        for (MIDIEndpointRef ref : sources())
            if (std::find(before.begin(), before.end(), ref) == before.end())
                added.push_back(ref);
        EXPECT_EQ(added.size(), 1u);
        return added.empty() ? 0 : added.front();
    }

    // Connects and returns once the connection carries events, with nothing recorded yet.
    void connectAndSync(JackTestWriter& writer, MIDIEndpointRef source, void* connRefCon = nullptr)
    {
        ASSERT_EQ(services.MIDIPortConnectSource(inputPort, source, connRefCon), 0);
        const Bytes probe{0xF0, 0x7D, 0x7F, 0xF7};
        ASSERT_TRUE(pollUntil([&] {
            writer.writeInOneCycle({probe});
            return pollUntil([&] { return received.count() > 0; }, 100ms);
        }));
        // Events arrive in order: once the marker is in, no earlier probe is still on its way.
        const Bytes marker{0xF0, 0x7D, 0x7E, 0xF7};
        writer.writeInOneCycle({marker});
        ASSERT_TRUE(pollUntil([&] { return received.contains(marker); }));
        received.clear();
    }

    static inline std::unique_ptr<TestSupport::PrivateJackServer> sServer;
    NotificationRecorder notifications;
    PacketRecorder received;
    JackMIDIServices services;
    Platform::MIDIClientRef client = 0;
    MIDIEndpointRef virtualSource = 0;
    Platform::MIDIPortRef inputPort = 0;
};

TEST_F(JackMIDIServicesTest, OwnVirtualSourceIsReportedOnTheMainThreadAndListed)
{
    startListening();
    EXPECT_TRUE(notifications.allOnMainThread());
    EXPECT_TRUE(hasSource(virtualSource));

    JackTestWriter observer("observer");
    jack_port_t* source = jack_port_by_name(observer.client(), "CBMIDI:Cuebolt");
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(jack_port_flags(source) & JackPortIsOutput);
    EXPECT_STREQ(jack_port_type(source), JACK_DEFAULT_MIDI_TYPE);
    jack_port_t* input = jack_port_by_name(observer.client(), "CBMIDI:Input port");
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(jack_port_flags(input) & JackPortIsInput);

    // The listener connects its own source like any other.
    EXPECT_EQ(services.MIDIPortConnectSource(inputPort, virtualSource, nullptr), 0);
}

TEST_F(JackMIDIServicesTest, NewSourceIsReportedAndItsEventsArriveOnTheReceiveThread)
{
    startListening();
    std::unique_ptr<JackTestWriter> writer;
    const MIDIEndpointRef source =
        sourceAddedBy([&] { writer = std::make_unique<JackTestWriter>("keyboard"); });
    int connectionTag = 0;
    connectAndSync(*writer, source, &connectionTag);

    EXPECT_EQ(writer->writeInOneCycle({startStop}).writeResults, std::vector<int>{0});
    ASSERT_TRUE(pollUntil([&] { return received.count() == 1; }));
    EXPECT_EQ(received.packets(), std::vector<Bytes>{startStop});
    EXPECT_FALSE(received.calledOnMainThread());
    EXPECT_EQ(received.connRefCons(), std::vector<void*>{&connectionTag});

    received.clear();
    const std::vector<Bytes> threeInOneCycle{
        {0xF0, 0x7D, 0x01, 0xF7}, {0x90, 0x3C, 0x64}, {0xF0, 0x7D, 0x02, 0xF7}};
    writer->writeInOneCycle(threeInOneCycle);
    ASSERT_TRUE(pollUntil([&] { return received.count() >= 3; }));
    EXPECT_EQ(received.packets(), threeInOneCycle);
}

TEST_F(JackMIDIServicesTest, RemovedSourceIsReportedAndItsStaleHandleIsHarmless)
{
    startListening();
    const std::pair<const char*, std::function<void(std::unique_ptr<JackTestWriter>&)>> removals[] = {
        {"port unregistered", [](auto& writer) { writer->unregisterPort(); }},
        {"client closed", [](auto& writer) { writer.reset(); }},
    };
    for (const auto& [how, remove] : removals) {
        SCOPED_TRACE(how);
        std::unique_ptr<JackTestWriter> writer;
        const MIDIEndpointRef source =
            sourceAddedBy([&] { writer = std::make_unique<JackTestWriter>("keyboard"); });
        ASSERT_EQ(services.MIDIPortConnectSource(inputPort, source, nullptr), 0);

        const int changes = notifications.setupChanges();
        remove(writer);
        ASSERT_TRUE(pollUntil([&] { return notifications.setupChanges() > changes; }));
        EXPECT_EQ(sources(), std::vector<MIDIEndpointRef>{virtualSource});
        EXPECT_EQ(services.MIDIPortDisconnectSource(inputPort, source), Platform::kMIDIUnknownEndpoint);
        EXPECT_EQ(services.MIDIPortConnectSource(inputPort, source, nullptr), Platform::kMIDIUnknownEndpoint);
    }
}

TEST_F(JackMIDIServicesTest, OversizedSysexNeverArrivesCutShort)
{
    startListening();
    std::unique_ptr<JackTestWriter> writer;
    const MIDIEndpointRef source =
        sourceAddedBy([&] { writer = std::make_unique<JackTestWriter>("dumper"); });
    connectAndSync(*writer, source);

    // JACK refuses a 64 KiB event at the sender: it never reaches the graph.
    EXPECT_NE(writer->writeInOneCycle({sysexOfSize(64 * 1024, 0x55)}).writeResults, std::vector<int>{0});
    // The largest event a cycle can carry arrives whole.
    const Bytes largest = sysexOfSize(writer->maxEventSize(), 0x22);
    EXPECT_EQ(writer->writeInOneCycle({largest}).writeResults, std::vector<int>{0});
    ASSERT_TRUE(pollUntil([&] { return received.count() > 0; }));
    EXPECT_EQ(received.packets(), std::vector<Bytes>{largest});
    EXPECT_EQ(services.droppedEventCount(), 0u);
}

TEST_F(JackMIDIServicesTest, SlowReaderLosesWholeEventsAndCountsThem)
{
    LogCapture log;
    startListening();
    std::unique_ptr<JackTestWriter> writer;
    const MIDIEndpointRef source =
        sourceAddedBy([&] { writer = std::make_unique<JackTestWriter>("dumper"); });
    connectAndSync(*writer, source);

    received.holdNextCall();
    constexpr std::size_t eventSize = 30000; // eight of them fill the receive queue
    std::uint8_t written = 0;
    while (services.droppedEventCount() == 0 && written < 40)
        writer->writeInOneCycle({sysexOfSize(eventSize, ++written)});
    ASSERT_GT(services.droppedEventCount(), 0u);
    received.release();

    // Once a later marker is in, every earlier event has been delivered or dropped. (JACK itself
    // may lose a cycle's events when the machine is too slow, hence no exact sum.)
    const Bytes marker{0xF0, 0x7D, 0x7E, 0xF7};
    ASSERT_TRUE(pollUntil([&] {
        writer->writeInOneCycle({marker});
        return pollUntil([&] { return received.contains(marker); }, 100ms);
    }));
    std::size_t delivered = 0;
    std::uint8_t previous = 0;
    for (const Bytes& packet : received.packets()) {
        if (packet == marker)
            continue;
        ++delivered;
        ASSERT_EQ(packet.size(), eventSize);
        EXPECT_EQ(packet, sysexOfSize(eventSize, packet[1]));
        EXPECT_GT(packet[1], previous);
        previous = packet[1];
    }
    EXPECT_GT(delivered, 0u);
    EXPECT_LE(delivered + services.droppedEventCount(), written);
    EXPECT_TRUE(pollUntil([&] { return log.contains("dropped"); }));
}

TEST_F(JackMIDIServicesTest, TearDownInTheListenersOrderStopsDelivery)
{
    startListening();
    std::unique_ptr<JackTestWriter> writer;
    const MIDIEndpointRef source =
        sourceAddedBy([&] { writer = std::make_unique<JackTestWriter>("keyboard"); });
    connectAndSync(*writer, source);

    EXPECT_EQ(services.MIDIPortDisconnectSource(inputPort, source), 0);
    const int changes = notifications.setupChanges();
    EXPECT_EQ(services.MIDIEndpointDispose(virtualSource), 0);
    ASSERT_TRUE(pollUntil([&] { return notifications.setupChanges() > changes; }));
    EXPECT_FALSE(hasSource(virtualSource));
    EXPECT_EQ(services.MIDIClientDispose(client), 0);

    // The receive thread has ended with the client, so nothing can be delivered any more.
    writer->writeInOneCycle({startStop});
    EXPECT_EQ(received.count(), 0u);
    EXPECT_EQ(jack_port_by_name(writer->client(), "CBMIDI:Input port"), nullptr);
    EXPECT_EQ(services.MIDIGetNumberOfSources(), 0u);
    EXPECT_EQ(services.MIDIPortConnectSource(inputPort, source, nullptr), Platform::kMIDIInvalidPort);
    EXPECT_EQ(services.MIDIClientDispose(client), Platform::kMIDIInvalidClient);
}

TEST(JackMIDIServicesShutdown, ServerShutdownIsLoggedAndLeavesNoSources)
{
    ensureCoreApplication();
    LogCapture log;
    auto server = std::make_unique<TestSupport::PrivateJackServer>();
    NotificationRecorder notifications;
    PacketRecorder received;
    JackMIDIServices services;
    Platform::MIDIClientRef client = 0;
    Platform::MIDIPortRef inputPort = 0;
    ASSERT_EQ(services.MIDIClientCreate("CBMIDI", &NotificationRecorder::notifyProc, &notifications, &client),
              0);
    ASSERT_EQ(services.MIDISourceCreate(client, "Cuebolt", nullptr), 0);
    ASSERT_EQ(
        services.MIDIInputPortCreate(client, "Input port", &PacketRecorder::readProc, &received, &inputPort),
        0);
    ASSERT_TRUE(pollUntil([&] { return notifications.setupChanges() == 1; }));

    server.reset();
    ASSERT_TRUE(pollUntil([&] { return log.contains("shut down"); }));
    EXPECT_TRUE(pollUntil([&] { return notifications.setupChanges() == 2; }));
    EXPECT_EQ(services.MIDIGetNumberOfSources(), 0u);
    EXPECT_EQ(services.MIDIClientDispose(client), 0);
}

} // namespace
