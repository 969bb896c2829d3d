// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "JackTestWriter.h"

#include <jack/midiport.h>
#include <stdexcept>
#include <thread>

namespace TestSupport {

JackTestWriter::JackTestWriter(const std::string& clientName)
{
    jack_status_t status{};
    mClient = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (mClient == nullptr)
        throw std::runtime_error("the test writer cannot open a JACK client");
    mPort = jack_port_register(mClient, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    jack_set_process_callback(mClient, &JackTestWriter::process, this);
    if (mPort == nullptr || jack_activate(mClient) != 0) {
        jack_client_close(mClient);
        throw std::runtime_error("the test writer cannot register or activate");
    }
}

JackTestWriter::~JackTestWriter()
{
    jack_client_close(mClient);
}

std::string JackTestWriter::portName() const
{
    return std::string(jack_get_client_name(mClient)) + ":out";
}

void JackTestWriter::unregisterPort()
{
    const std::lock_guard lock(mMutex);
    jack_port_unregister(mClient, mPort);
    mPort = nullptr;
}

JackTestWriter::CycleResult JackTestWriter::writeInOneCycle(std::vector<Bytes> events)
{
    std::uint64_t target;
    {
        const std::lock_guard lock(mMutex);
        mPending = std::move(events);
        mHasPending = true;
        target = mCyclesDone + 1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        {
            const std::lock_guard lock(mMutex);
            if (mCyclesDone >= target)
                return mLastResult;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    throw std::runtime_error("the test writer's process cycle did not run");
}

int JackTestWriter::process(jack_nframes_t frames, void* self)
{
    auto* writer = static_cast<JackTestWriter*>(self);
    const std::unique_lock lock(writer->mMutex, std::try_to_lock);
    if (!lock.owns_lock() || writer->mPort == nullptr)
        return 0;
    void* buffer = jack_port_get_buffer(writer->mPort, frames);
    jack_midi_clear_buffer(buffer);
    writer->mMaxEventSize = jack_midi_max_event_size(buffer);
    if (!writer->mHasPending)
        return 0;
    CycleResult result;
    result.writtenAt = std::chrono::steady_clock::now();
    jack_nframes_t frame = 0;
    for (const Bytes& event : writer->mPending)
        result.writeResults.push_back(jack_midi_event_write(buffer, frame++, event.data(), event.size()));
    writer->mLastResult = std::move(result);
    writer->mHasPending = false;
    ++writer->mCyclesDone;
    return 0;
}

} // namespace TestSupport
