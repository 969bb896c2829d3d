// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "jack/JackClient.h"

#include "Platform/Log.h"
#include "jack/JackEventQueue.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <jack/midiport.h>

namespace Platform::Jack {

std::string serverName()
{
    const char* name = std::getenv("JACK_DEFAULT_SERVER");
    return name != nullptr && *name != '\0' ? name : "default";
}

bool serverReachable()
{
    jack_status_t status{};
    jack_client_t* probe = jack_client_open("CBMIDI-probe", JackNoStartServer, &status);
    if (probe == nullptr)
        return false;
    jack_client_close(probe);
    return true;
}

std::unique_ptr<Client> Client::open(const std::string& clientName, EventQueue& queue)
{
    jack_status_t status{};
    jack_client_t* client = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (client == nullptr) {
        NSLog("cannot reach the JACK server '" + serverName() + "' (status " + std::to_string(status) +
              "); start it, or quit JACK so that the ALSA sequencer is used");
        return nullptr;
    }
    return std::unique_ptr<Client>(new Client(client, queue));
}

Client::Client(jack_client_t* client, EventQueue& queue) : mClient(client), mQueue(queue) {}

Client::~Client()
{
    // Also right after a server shutdown: closing frees what the client still holds.
    jack_client_close(mClient);
}

bool Client::activate(std::function<void()> onChange)
{
    mOnChange = std::move(onChange);
    jack_set_process_callback(mClient, &Client::process, this);
    jack_set_port_registration_callback(mClient, &Client::portRegistered, this);
    jack_set_port_rename_callback(mClient, &Client::portRenamed, this);
    jack_on_info_shutdown(mClient, &Client::serverShutDown, this);
    if (jack_activate(mClient) != 0) {
        NSLog(std::string("cannot activate the JACK client '") + jack_get_client_name(mClient) +
              "'; MIDI input is unavailable");
        return false;
    }
    return true;
}

std::optional<std::string> Client::registerSource(const std::string& shortName)
{
    return registerPort(shortName, JackPortIsOutput, mSourcePort);
}

std::optional<std::string> Client::registerInput(const std::string& shortName)
{
    return registerPort(shortName, JackPortIsInput, mInputPort);
}

std::optional<std::string> Client::registerPort(const std::string& shortName, unsigned long flags,
                                                std::atomic<jack_port_t*>& slot)
{
    const std::string fullName = std::string(jack_get_client_name(mClient)) + ":" + shortName;
    if (slot.load() != nullptr || mServerGone) {
        NSLog("cannot register the JACK MIDI port '" + fullName +
              "': the client already has one of this kind or the server has gone");
        return std::nullopt;
    }
    jack_port_t* port = jack_port_register(mClient, shortName.c_str(), JACK_DEFAULT_MIDI_TYPE, flags, 0);
    if (port == nullptr) {
        NSLog("cannot register the JACK MIDI port '" + fullName + "'; is the name already taken?");
        return std::nullopt;
    }
    slot.store(port);
    return std::string(jack_port_name(port));
}

void Client::unregisterSource()
{
    // A cycle that loaded the port just before still finds its buffer: JACK keeps port slots in
    // shared memory.
    if (jack_port_t* port = mSourcePort.exchange(nullptr); port != nullptr && !mServerGone)
        jack_port_unregister(mClient, port);
}

std::vector<std::string> Client::midiSources() const
{
    std::vector<std::string> names;
    if (mServerGone)
        return names;
    const char** ports = jack_get_ports(mClient, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
    if (ports == nullptr)
        return names;
    for (const char** name = ports; *name != nullptr; ++name)
        names.emplace_back(*name);
    jack_free(ports);
    return names;
}

bool Client::connectToInput(const std::string& source)
{
    jack_port_t* input = mInputPort.load();
    if (input == nullptr || mServerGone)
        return false;
    const int result = jack_connect(mClient, source.c_str(), jack_port_name(input));
    if (result == 0 || result == EEXIST)
        return true;
    NSLog("cannot connect the JACK port '" + source + "' to '" + jack_port_name(input) + "' (error " +
          std::to_string(result) + ")");
    return false;
}

void Client::disconnectFromInput(const std::string& source)
{
    jack_port_t* input = mInputPort.load();
    // Fails harmlessly when the source has gone, which took its connections with it.
    if (input != nullptr && !mServerGone)
        jack_disconnect(mClient, source.c_str(), jack_port_name(input));
}

int Client::process(jack_nframes_t frames, void* self)
{
    auto* client = static_cast<Client*>(self);
    if (jack_port_t* source = client->mSourcePort.load(std::memory_order_acquire))
        jack_midi_clear_buffer(jack_port_get_buffer(source, frames));
    jack_port_t* input = client->mInputPort.load(std::memory_order_acquire);
    if (input == nullptr)
        return 0;
    void* buffer = jack_port_get_buffer(input, frames);
    const std::uint64_t cycleStart = jack_last_frame_time(client->mClient);
    const std::uint32_t count = jack_midi_get_event_count(buffer);
    for (std::uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) == 0)
            client->mQueue.push(cycleStart + event.time, event.buffer, event.size);
    }
    if (count > 0)
        client->mQueue.signal();
    return 0;
}

void Client::portRegistered(jack_port_id_t, int, void* self)
{
    static_cast<Client*>(self)->changed();
}

void Client::portRenamed(jack_port_id_t, const char*, const char*, void* self)
{
    static_cast<Client*>(self)->changed();
}

void Client::serverShutDown(jack_status_t, const char* reason, void* self)
{
    auto* client = static_cast<Client*>(self);
    client->mServerGone = true;
    NSLog("the JACK server '" + serverName() + "' shut down (" +
          (reason != nullptr ? reason : "no reason given") +
          "); MIDI input has stopped; restart the program once the server runs again");
    client->changed();
}

void Client::changed()
{
    if (mOnChange)
        mOnChange();
}

} // namespace Platform::Jack
