// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "JackSysexSender.h"

#include <jack/midiport.h>

#include <algorithm>
#include <ctime>
#include <stdexcept>

namespace TestSupport {

namespace {

std::uint64_t monotonicMicroseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint64_t(now.tv_sec) * 1000000u + std::uint64_t(now.tv_nsec) / 1000u;
}

} // namespace

JackSysexSender::JackSysexSender(const std::string& clientName)
{
    jack_status_t status;
    mClient = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (!mClient)
        throw std::runtime_error("cannot open a JACK client for the sysex sender");
    mPort = jack_port_register(mClient, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    mQueue = jack_ringbuffer_create(1 << 20);
    jack_set_process_callback(mClient, &JackSysexSender::process, this);
    if (!mPort || jack_activate(mClient) != 0)
        throw std::runtime_error("cannot activate the sysex sender");
}

JackSysexSender::~JackSysexSender()
{
    jack_deactivate(mClient);
    jack_client_close(mClient);
    jack_ringbuffer_free(mQueue);
}

std::string JackSysexSender::portName() const { return jack_port_name(mPort); }
bool JackSysexSender::isConnectedTo(const std::string& portName) const
{
    return jack_port_connected_to(mPort, portName.c_str()) != 0;
}

std::vector<std::string> JackSysexSender::connectionsOf(const std::string& portName) const
{
    std::vector<std::string> names;
    jack_port_t* port = jack_port_by_name(mClient, portName.c_str());
    if (!port)
        return names;
    if (const char** connections = jack_port_get_all_connections(mClient, port)) {
        for (const char** c = connections; *c; ++c)
            names.emplace_back(*c);
        jack_free(connections);
    }
    return names;
}

jack_nframes_t JackSysexSender::periodFrames() const { return jack_get_buffer_size(mClient); }
jack_nframes_t JackSysexSender::sampleRate() const { return jack_get_sample_rate(mClient); }

void JackSysexSender::send(const std::vector<std::vector<std::uint8_t>>& messages)
{
    std::vector<char> batch;
    auto put = [&](const void* data, std::size_t size) {
        batch.insert(batch.end(), static_cast<const char*>(data), static_cast<const char*>(data) + size);
    };
    std::uint32_t total = 0;
    put(&total, sizeof total); // filled in below
    const auto count = std::uint32_t(messages.size());
    put(&count, sizeof count);
    for (const auto& m : messages) {
        const auto length = std::uint32_t(m.size());
        put(&length, sizeof length);
        put(m.data(), m.size());
    }
    total = std::uint32_t(batch.size());
    std::copy_n(reinterpret_cast<const char*>(&total), sizeof total, batch.begin());
    if (jack_ringbuffer_write_space(mQueue) < batch.size())
        throw std::runtime_error("sysex sender queue full");
    jack_ringbuffer_write(mQueue, batch.data(), batch.size());
}

// One queued batch per cycle, so a batch's messages share a cycle and batches stay apart.
int JackSysexSender::process(jack_nframes_t frames, void* arg)
{
    auto* self = static_cast<JackSysexSender*>(arg);
    void* buffer = jack_port_get_buffer(self->mPort, frames);
    jack_midi_clear_buffer(buffer);
    // A batch is taken only once all of it is in the queue.
    std::uint32_t total = 0, count = 0;
    if (jack_ringbuffer_peek(self->mQueue, reinterpret_cast<char*>(&total), sizeof total) < sizeof total ||
        jack_ringbuffer_read_space(self->mQueue) < total)
        return 0;
    const std::uint64_t start = monotonicMicroseconds();
    jack_ringbuffer_read_advance(self->mQueue, sizeof total);
    jack_ringbuffer_read(self->mQueue, reinterpret_cast<char*>(&count), sizeof count);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length;
        jack_ringbuffer_read(self->mQueue, reinterpret_cast<char*>(&length), sizeof length);
        if (jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, length))
            jack_ringbuffer_read(self->mQueue, reinterpret_cast<char*>(event), length);
        else
            jack_ringbuffer_read_advance(self->mQueue, length); // too big for the port buffer
    }
    self->mLastWrite = start;
    ++self->mBatchesWritten;
    return 0;
}

} // namespace TestSupport
