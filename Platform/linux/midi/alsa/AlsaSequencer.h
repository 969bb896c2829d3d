// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <alsa/asoundlib.h>
#include <compare>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Platform::Alsa {

struct Address {
    int client;
    int port;
    auto operator<=>(const Address&) const = default;
};

// A source's key in the source directory: "client:port".
std::string addressKey(Address address);
std::optional<Address> parseAddressKey(const std::string& key);

// Our sequencer client: its ports, its subscriptions and the machine's sources. A hidden port of
// ours receives the System:Announce events. The receive thread reads events through handle()
// while the main thread queries and subscribes; those touch separate parts of the handle.
class Sequencer {
public:
    // Opens the sequencer without blocking reads; none, and a log line, when it cannot.
    static std::unique_ptr<Sequencer> open(const std::string& clientName);
    ~Sequencer();
    Sequencer(const Sequencer&) = delete;
    Sequencer& operator=(const Sequencer&) = delete;

    snd_seq_t* handle() const { return mSeq; }
    int clientId() const { return mClientId; }
    int announcePort() const { return mAnnouncePort; }

    // Each returns the new port's number; none, and a log line, on failure.
    std::optional<int> createSource(const std::string& name);
    std::optional<int> createInput(const std::string& name);
    void deletePort(int port);

    // Every readable, subscribable, exported port outside the System client, ours included.
    std::vector<Address> sources() const;
    bool connect(Address source, int inputPort);
    void disconnect(Address source, int inputPort);

private:
    Sequencer(snd_seq_t* seq, int clientId, int announcePort);
    std::optional<int> createPort(const std::string& name, unsigned capabilities);

    snd_seq_t* mSeq;
    int mClientId;
    int mAnnouncePort;
};

} // namespace Platform::Alsa
