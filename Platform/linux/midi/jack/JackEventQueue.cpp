// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "jack/JackEventQueue.h"

#include <limits>
#include <new>
#include <poll.h>

namespace Platform::Jack {
namespace {

// The packet's 16-bit length field.
constexpr std::size_t maxPacketData = std::numeric_limits<std::uint16_t>::max();

} // namespace

EventQueue::EventQueue(std::size_t capacityBytes) : mRing(jack_ringbuffer_create(capacityBytes))
{
    if (mRing == nullptr)
        throw std::bad_alloc();
    // Keeps the process callback from page-faulting; failing only costs that guarantee.
    jack_ringbuffer_mlock(mRing);
    mScratch.reserve(maxPacketData);
}

EventQueue::~EventQueue()
{
    jack_ringbuffer_free(mRing);
}

void EventQueue::push(std::uint64_t timeStamp, const std::uint8_t* data, std::size_t size) noexcept
{
    if (size > maxPacketData || jack_ringbuffer_write_space(mRing) < sizeof(EventHeader) + size) {
        mDropped.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    const EventHeader header{timeStamp, static_cast<std::uint32_t>(size)};
    jack_ringbuffer_write(mRing, reinterpret_cast<const char*>(&header), sizeof header);
    jack_ringbuffer_write(mRing, reinterpret_cast<const char*>(data), size);
}

bool EventQueue::wait()
{
    pollfd fds[2] = {{mWakeup.fd(), POLLIN, 0}, {mStop.fd(), POLLIN, 0}};
    while (!mStopped.load()) {
        if (poll(fds, 2, -1) < 0)
            continue; // EINTR
        if (fds[0].revents & POLLIN) {
            mWakeup.consume();
            return !mStopped.load();
        }
    }
    return false;
}

void EventQueue::stop()
{
    mStopped = true;
    mStop.signal();
}

std::size_t EventQueue::drainInto(MIDIPacketList& list)
{
    std::size_t count = 0;
    EventHeader header{};
    // The writer puts the header in before the data: an event whose data is not all there yet
    // waits for the next signal.
    while (jack_ringbuffer_peek(mRing, reinterpret_cast<char*>(&header), sizeof header) == sizeof header &&
           jack_ringbuffer_read_space(mRing) >= sizeof header + header.size) {
        jack_ringbuffer_read_advance(mRing, sizeof header);
        mScratch.resize(header.size);
        jack_ringbuffer_read(mRing, reinterpret_cast<char*>(mScratch.data()), header.size);
        list.add(header.timeStamp, mScratch);
        ++count;
    }
    return count;
}

} // namespace Platform::Jack
