// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/MIDIPacketList.h"

#include <algorithm>
#include <cstring>

namespace Platform {
namespace {

constexpr std::size_t countSize = sizeof(std::uint32_t);
constexpr std::size_t packetHeaderSize = sizeof(std::uint64_t) + sizeof(std::uint16_t);

template <class T> void appendRaw(std::vector<std::uint8_t>& bytes, T value)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    bytes.insert(bytes.end(), p, p + sizeof value);
}

} // namespace

MIDIPacketList::MIDIPacketList() : mBytes(countSize, 0) {}

MIDIPacketList::MIDIPacketList(std::vector<std::uint8_t> rawBytes) : mBytes(std::move(rawBytes)) {}

void MIDIPacketList::add(std::uint64_t timeStamp, std::span<const std::uint8_t> data)
{
    // Raw bytes shorter than the count field start over as an empty list.
    if (mBytes.size() < countSize)
        mBytes.assign(countSize, 0);
    const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(data.size(), UINT16_MAX));
    appendRaw(mBytes, timeStamp);
    appendRaw(mBytes, length);
    mBytes.insert(mBytes.end(), data.begin(), data.begin() + length);

    std::uint32_t count = 0;
    std::memcpy(&count, mBytes.data(), countSize);
    ++count;
    std::memcpy(mBytes.data(), &count, countSize);
}

MIDIPacketList MIDIPacketList::withPackets(std::initializer_list<std::vector<std::uint8_t>> packets)
{
    MIDIPacketList list;
    for (const auto& packet : packets)
        list.add(0, packet);
    return list;
}

void MIDIPacketList::clear()
{
    mBytes.assign(countSize, 0);
}

std::uint32_t MIDIPacketListWalker::claimedCount() const
{
    if (mBytes.size() < headerSize)
        return 0;
    std::uint32_t count = 0;
    std::memcpy(&count, mBytes.data(), sizeof count);
    return count;
}

bool MIDIPacketListWalker::next(std::size_t& offset, MIDIPacket& packet) const
{
    if (offset > mBytes.size() || mBytes.size() - offset < packetHeaderSize)
        return false;
    std::uint64_t timeStamp = 0;
    std::uint16_t length = 0;
    std::memcpy(&timeStamp, mBytes.data() + offset, sizeof timeStamp);
    std::memcpy(&length, mBytes.data() + offset + sizeof timeStamp, sizeof length);
    const std::size_t dataOffset = offset + packetHeaderSize;
    if (mBytes.size() - dataOffset < length)
        return false;
    packet.timeStamp = timeStamp;
    packet.data = mBytes.subspan(dataOffset, length);
    offset = dataOffset + length;
    return true;
}

} // namespace Platform
