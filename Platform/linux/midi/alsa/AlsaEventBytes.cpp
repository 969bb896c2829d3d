// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "alsa/AlsaEventBytes.h"

#include "Platform/Log.h"

#include <memory>
#include <string>

namespace Platform::Alsa {
namespace {

// Enough for the longest decoded short event: an NRPN becomes four controller messages.
constexpr long decodeBufferBytes = 32;

struct ParserDeleter {
    void operator()(snd_midi_event_t* parser) const { snd_midi_event_free(parser); }
};

std::vector<std::uint8_t> sysexBytes(const snd_seq_event_t& event)
{
    if (!snd_seq_ev_is_variable(&event) || (event.data.ext.ptr == nullptr && event.data.ext.len > 0)) {
        NSLog("ignoring an ALSA sysex event without a data block");
        return {};
    }
    const auto* data = static_cast<const std::uint8_t*>(event.data.ext.ptr);
    return {data, data + event.data.ext.len};
}

} // namespace

std::vector<std::uint8_t> alsaEventToMIDIBytes(const snd_seq_event_t& event)
{
    if (event.type == SND_SEQ_EVENT_SYSEX)
        return sysexBytes(event);

    snd_midi_event_t* rawParser = nullptr;
    if (const int error = snd_midi_event_new(decodeBufferBytes, &rawParser); error < 0) {
        NSLog(std::string("cannot create an ALSA MIDI event decoder: ") + snd_strerror(error));
        return {};
    }
    const std::unique_ptr<snd_midi_event_t, ParserDeleter> parser(rawParser);
    snd_midi_event_no_status(parser.get(), 1);

    unsigned char buffer[decodeBufferBytes];
    const long length = snd_midi_event_decode(parser.get(), buffer, decodeBufferBytes, &event);
    if (length <= 0)
        return {}; // not a MIDI event
    return {buffer, buffer + length};
}

} // namespace Platform::Alsa
