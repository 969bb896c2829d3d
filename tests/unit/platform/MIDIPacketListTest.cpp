// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/MIDIPacketList.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Platform;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Builds raw packet-list bytes field by field, so a list can claim what it does not hold.
class RawList {
public:
    explicit RawList(std::uint32_t count) { put(count); }
    RawList& packet(std::uint64_t timeStamp, std::uint16_t length, const Bytes& data)
    {
        put(timeStamp);
        put(length);
        mBytes.insert(mBytes.end(), data.begin(), data.end());
        return *this;
    }
    RawList& raw(const Bytes& bytes)
    {
        mBytes.insert(mBytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    MIDIPacketList list() const { return MIDIPacketList(mBytes); }

private:
    template <class T> void put(T value)
    {
        Bytes field(sizeof value);
        std::memcpy(field.data(), &value, sizeof value);
        mBytes.insert(mBytes.end(), field.begin(), field.end());
    }
    Bytes mBytes;
};

struct Walked {
    std::uint64_t timeStamp;
    Bytes data;
    bool operator==(const Walked&) const = default;
};

std::vector<Walked> walk(const MIDIPacketList& list)
{
    std::vector<Walked> packets;
    MIDIPacketListWalker(list).forEachPacket([&](const MIDIPacket& p) {
        packets.push_back({p.timeStamp, Bytes(p.data.begin(), p.data.end())});
    });
    return packets;
}

const Bytes sysex{0xf0, 0x7d, 0x01, 0xf7};
const Bytes noteOn{0x90, 0x3c, 0x40};

TEST(MIDIPacketListWalker, YieldsOnlyWholePackets)
{
    struct Case {
        const char* name;
        MIDIPacketList list;
        std::vector<Walked> expected;
    };
    const std::vector<Case> cases = {
        {"well formed",
         RawList(2).packet(1, 4, sysex).packet(2, 3, noteOn).list(),
         {{1, sysex}, {2, noteOn}}},
        {"count larger than the packets", RawList(5).packet(1, 4, sysex).list(), {{1, sysex}}},
        {"count smaller than the packets",
         RawList(1).packet(1, 4, sysex).packet(2, 3, noteOn).list(),
         {{1, sysex}}},
        {"zero count", RawList(0).packet(1, 4, sysex).list(), {}},
        {"length past the end", RawList(2).packet(1, 4, sysex).packet(2, 200, noteOn).list(), {{1, sysex}}},
        {"largest length, few bytes", RawList(1).packet(7, 0xffff, sysex).list(), {}},
        {"header cut short",
         RawList(2).packet(1, 4, sysex).raw({1, 2, 3, 4, 5, 6, 7, 8, 9}).list(),
         {{1, sysex}}},
        {"zero length packets are whole",
         RawList(3).packet(1, 0, {}).packet(2, 4, sysex).packet(3, 0, {}).list(),
         {{1, {}}, {2, sysex}, {3, {}}}},
        {"count field only", RawList(3).list(), {}},
        {"fewer than four bytes", MIDIPacketList(Bytes{1, 0, 0}), {}},
        {"no bytes at all", MIDIPacketList(Bytes{}), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(walk(c.list), c.expected) << c.name;
}

TEST(MIDIPacketList, BuildsListsTheWalkerReads)
{
    MIDIPacketList list;
    EXPECT_EQ(list.bytes().size(), 4u);
    EXPECT_TRUE(walk(list).empty());

    list.add(42, sysex);
    list.add(43, noteOn);
    EXPECT_EQ(walk(list), (std::vector<Walked>{{42, sysex}, {43, noteOn}}));

    EXPECT_EQ(walk(MIDIPacketList::withPackets({sysex, {}, noteOn})),
              (std::vector<Walked>{{0, sysex}, {0, {}}, {0, noteOn}}));

    list.clear();
    EXPECT_TRUE(walk(list).empty());
    list.add(1, noteOn);
    EXPECT_EQ(walk(list), (std::vector<Walked>{{1, noteOn}}));
}

TEST(MIDIPacketList, CutsDataToTheLengthField)
{
    MIDIPacketList list;
    list.add(1, Bytes(70000, 0x55));
    const auto packets = walk(list);
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].data, Bytes(65535, 0x55));
}

TEST(MIDIPacketList, AddingToATruncatedListStartsItOver)
{
    MIDIPacketList list(Bytes{9, 9});
    list.add(5, sysex);
    EXPECT_EQ(walk(list), (std::vector<Walked>{{5, sysex}}));
}

TEST(MIDIPacketList, AddingAfterRawPacketsCountsOn)
{
    MIDIPacketList list = RawList(1).packet(1, 3, noteOn).list();
    list.add(2, sysex);
    EXPECT_EQ(walk(list), (std::vector<Walked>{{1, noteOn}, {2, sysex}}));
}

} // namespace
