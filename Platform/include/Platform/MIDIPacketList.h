// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace Platform {

// A packet list in the platform's layout, native byte order, no padding: a 32-bit packet count,
// then each packet as a 64-bit time stamp, a 16-bit length L and L data bytes; the next packet
// follows directly after the data.
class MIDIPacketList {
public:
    MIDIPacketList();
    // Takes raw bytes as delivered; they may claim more than they hold.
    explicit MIDIPacketList(std::vector<std::uint8_t> rawBytes);

    // Appends a packet and counts it. Data beyond 65535 bytes is cut to fit the length field.
    void add(std::uint64_t timeStamp, std::span<const std::uint8_t> data);
    static MIDIPacketList withPackets(std::initializer_list<std::vector<std::uint8_t>> packets);

    std::span<const std::uint8_t> bytes() const { return mBytes; }
    void clear();

private:
    std::vector<std::uint8_t> mBytes;
};

struct MIDIPacket {
    std::uint64_t timeStamp;
    std::span<const std::uint8_t> data;
};

// Walks the packets in order and never reads past the list's end: a packet whose header or data
// would run past it ends the walk, whatever the count and lengths claim.
class MIDIPacketListWalker {
public:
    explicit MIDIPacketListWalker(const MIDIPacketList& list) : mBytes(list.bytes()) {}

    template <class Visitor> void forEachPacket(Visitor&& visit) const
    {
        MIDIPacket packet{};
        std::size_t offset = headerSize;
        for (std::uint32_t i = 0, count = claimedCount(); i < count && next(offset, packet); ++i)
            visit(packet);
    }

private:
    static constexpr std::size_t headerSize = 4;
    std::uint32_t claimedCount() const;
    bool next(std::size_t& offset, MIDIPacket& packet) const;

    std::span<const std::uint8_t> mBytes;
};

} // namespace Platform
