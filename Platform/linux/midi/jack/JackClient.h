// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <atomic>
#include <functional>
#include <jack/jack.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Platform::Jack {

class EventQueue;

// The server named by JACK_DEFAULT_SERVER, which libjack honours, else "default".
std::string serverName();
// True when a client can open on that server without starting one.
bool serverReachable();

// One JACK client with at most one MIDI output port (our virtual source) and one MIDI input port.
// Its process cycle queues the input events and clears the output; every other callback only calls
// onChange, since JACK forbids connecting from inside a callback.
class Client {
public:
    // Does not start a server; none, and a log line, when none answers.
    static std::unique_ptr<Client> open(const std::string& clientName, EventQueue& queue);
    // Closes the client: no callback runs once this returns.
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // onChange runs on a JACK thread whenever ports come, go or change names, and when the server
    // shuts down. A client's arrival alone changes no source: its ports are reported one by one, and
    // so is their removal when it quits.
    bool activate(std::function<void()> onChange);

    // Each returns the port's full name; none, and a log line, on failure.
    std::optional<std::string> registerSource(const std::string& shortName);
    std::optional<std::string> registerInput(const std::string& shortName);
    void unregisterSource();

    // Every MIDI output port of the graph, ours included; none once the server has gone.
    std::vector<std::string> midiSources() const;
    bool connectToInput(const std::string& source);
    void disconnectFromInput(const std::string& source);

private:
    Client(jack_client_t* client, EventQueue& queue);

    static int process(jack_nframes_t frames, void* self);
    static void portRegistered(jack_port_id_t port, int registered, void* self);
    static void portRenamed(jack_port_id_t port, const char* oldName, const char* newName, void* self);
    static void serverShutDown(jack_status_t code, const char* reason, void* self);
    void changed();
    std::optional<std::string> registerPort(const std::string& shortName, unsigned long flags,
                                            std::atomic<jack_port_t*>& slot);

    jack_client_t* mClient;
    EventQueue& mQueue;
    std::function<void()> mOnChange;
    std::atomic<jack_port_t*> mSourcePort{nullptr};
    std::atomic<jack_port_t*> mInputPort{nullptr};
    std::atomic<bool> mServerGone{false};
};

} // namespace Platform::Jack
