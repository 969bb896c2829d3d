// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "alsa/AlsaSequencer.h"

#include "Platform/Log.h"

#include <cerrno>
#include <charconv>

namespace Platform::Alsa {
namespace {

constexpr unsigned sourceCaps = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
constexpr unsigned inputCaps = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;

// One line naming the call that failed and ALSA's reason; true when it succeeded.
bool succeeded(int result, const std::string& what)
{
    if (result >= 0)
        return true;
    NSLog("ALSA sequencer: cannot " + what + ": " + snd_strerror(result));
    return false;
}

} // namespace

std::string addressKey(Address address)
{
    return std::to_string(address.client) + ":" + std::to_string(address.port);
}

std::optional<Address> parseAddressKey(const std::string& key)
{
    Address address{};
    const char* end = key.data() + key.size();
    const auto [colon, clientError] = std::from_chars(key.data(), end, address.client);
    if (clientError != std::errc() || colon == end || *colon != ':')
        return std::nullopt;
    const auto [last, portError] = std::from_chars(colon + 1, end, address.port);
    if (portError != std::errc() || last != end)
        return std::nullopt;
    return address;
}

std::unique_ptr<Sequencer> Sequencer::open(const std::string& clientName)
{
    snd_seq_t* seq = nullptr;
    if (const int error = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK); error < 0) {
        NSLog(std::string("cannot open the ALSA sequencer (") + snd_strerror(error) +
              "); MIDI input is unavailable: load the snd-seq module or start a JACK server");
        return nullptr;
    }
    snd_seq_set_client_name(seq, clientName.c_str());
    const int announcePort =
        snd_seq_create_simple_port(seq, "Announcements", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
                                   SND_SEQ_PORT_TYPE_APPLICATION);
    if (!succeeded(announcePort, "create the announcement port") ||
        !succeeded(
            snd_seq_connect_from(seq, announcePort, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE),
            "subscribe to System:Announce")) {
        snd_seq_close(seq);
        return nullptr;
    }
    return std::unique_ptr<Sequencer>(new Sequencer(seq, snd_seq_client_id(seq), announcePort));
}

Sequencer::Sequencer(snd_seq_t* seq, int clientId, int announcePort)
    : mSeq(seq), mClientId(clientId), mAnnouncePort(announcePort)
{
}

Sequencer::~Sequencer()
{
    snd_seq_close(mSeq);
}

std::optional<int> Sequencer::createSource(const std::string& name)
{
    return createPort(name, sourceCaps);
}

std::optional<int> Sequencer::createInput(const std::string& name)
{
    return createPort(name, inputCaps);
}

std::optional<int> Sequencer::createPort(const std::string& name, unsigned capabilities)
{
    const int port = snd_seq_create_simple_port(
        mSeq, name.c_str(), capabilities, SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (!succeeded(port, "create the port '" + name + "'"))
        return std::nullopt;
    return port;
}

void Sequencer::deletePort(int port)
{
    succeeded(snd_seq_delete_simple_port(mSeq, port), "delete port " + std::to_string(port));
}

std::vector<Address> Sequencer::sources() const
{
    std::vector<Address> found;
    snd_seq_client_info_t* client;
    snd_seq_port_info_t* port;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(mSeq, client) >= 0) {
        const int clientId = snd_seq_client_info_get_client(client);
        if (clientId == SND_SEQ_CLIENT_SYSTEM)
            continue;
        snd_seq_port_info_set_client(port, clientId);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(mSeq, port) >= 0) {
            const unsigned caps = snd_seq_port_info_get_capability(port);
            if ((caps & sourceCaps) == sourceCaps && (caps & SND_SEQ_PORT_CAP_NO_EXPORT) == 0)
                found.push_back({clientId, snd_seq_port_info_get_port(port)});
        }
    }
    return found;
}

bool Sequencer::connect(Address source, int inputPort)
{
    const int result = snd_seq_connect_from(mSeq, inputPort, source.client, source.port);
    // EBUSY: already subscribed, which is what was asked for.
    return result == -EBUSY || succeeded(result, "connect " + addressKey(source) + " to our input port");
}

void Sequencer::disconnect(Address source, int inputPort)
{
    // Fails harmlessly when the source has gone, which ended its subscriptions.
    snd_seq_disconnect_from(mSeq, inputPort, source.client, source.port);
}

} // namespace Platform::Alsa
