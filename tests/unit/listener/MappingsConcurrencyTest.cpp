// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// Run under ThreadSanitizer in CI: reloads on the main thread while packets flow on a receive thread.
#include "ListenerFixture.h"

#include "DefaultMappings.h"

#include <atomic>
#include <thread>

using namespace Platform;

namespace {

TEST_F(ListenerTest, ReloadsNeverLeaveTheReceiveThreadWithAPartialList)
{
    // List A plays on F0 7D 03 F7; list B has the same bytes first, so it goes to the beginning.
    const PlistArray listA = DefaultMappings::records();
    PlistArray listB = DefaultMappings::records();
    std::swap(listB[0], listB[2]);

    auto controller = makeAwakeController();
    const auto source = *mMIDI.connectedSources().begin();
    std::atomic<bool> done = false;
    constexpr int kReloads = 1000;

    std::thread receiver([&] {
        const auto packet = MIDIPacketList::withPackets({{0xF0, 0x7D, 0x03, 0xF7}});
        while (!done.load())
            mMIDI.inject(source, packet);
    });
    for (int i = 0; i < kReloads; ++i) {
        storeMappings(i % 2 ? listA : listB);
        controller->loadFromPrefs();
    }
    done = true;
    receiver.join();

    // Every packet found either list whole: one key press, space or Z, never none or another key.
    const auto events = mKeys.events();
    ASSERT_FALSE(events.empty());
    ASSERT_EQ(events.size() % 2, 0u);
    for (std::size_t i = 0; i < events.size(); i += 2) {
        EXPECT_TRUE(events[i].keyChar == 0x20 || events[i].keyChar == 'Z') << i;
        EXPECT_EQ(events[i + 1].keyChar, events[i].keyChar);
        EXPECT_TRUE(events[i].keyDown);
        EXPECT_FALSE(events[i + 1].keyDown);
    }
}

} // namespace
