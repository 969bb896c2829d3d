// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "alsa/AlsaEventBytes.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Platform::Alsa::alsaEventToMIDIBytes;

struct EventCase {
    std::string name;
    std::function<void(snd_seq_event_t&)> build;
    Bytes expected;
    friend void PrintTo(const EventCase& eventCase, std::ostream* out) { *out << eventCase.name; }
};

std::uint8_t sysex[] = {0xF0, 0x7D, 0x03, 0xF7};
std::uint8_t sysexPiece[] = {0xF0, 0x7D, 0x01, 0x02}; // a long message cut by ALSA: no F7 yet

void ofType(snd_seq_event_t& event, snd_seq_event_type_t type)
{
    event.type = type;
}

const EventCase eventCases[] = {
    {"Sysex", [](auto& e) { snd_seq_ev_set_sysex(&e, sizeof sysex, sysex); }, {0xF0, 0x7D, 0x03, 0xF7}},
    {"SysexPiece",
     [](auto& e) { snd_seq_ev_set_sysex(&e, sizeof sysexPiece, sysexPiece); },
     {0xF0, 0x7D, 0x01, 0x02}},
    {"NoteOn", [](auto& e) { snd_seq_ev_set_noteon(&e, 2, 60, 100); }, {0x92, 60, 100}},
    {"NoteOnZeroVelocity", [](auto& e) { snd_seq_ev_set_noteon(&e, 0, 64, 0); }, {0x90, 64, 0}},
    {"NoteOff", [](auto& e) { snd_seq_ev_set_noteoff(&e, 15, 61, 64); }, {0x8F, 61, 64}},
    {"ControlChange", [](auto& e) { snd_seq_ev_set_controller(&e, 1, 7, 127); }, {0xB1, 7, 127}},
    {"ProgramChange", [](auto& e) { snd_seq_ev_set_pgmchange(&e, 9, 42); }, {0xC9, 42}},
    {"PitchBendCentre", [](auto& e) { snd_seq_ev_set_pitchbend(&e, 0, 0); }, {0xE0, 0x00, 0x40}},
    {"PitchBendLowest", [](auto& e) { snd_seq_ev_set_pitchbend(&e, 3, -8192); }, {0xE3, 0x00, 0x00}},
    {"PitchBendHighest", [](auto& e) { snd_seq_ev_set_pitchbend(&e, 3, 8191); }, {0xE3, 0x7F, 0x7F}},
    {"Clock", [](auto& e) { ofType(e, SND_SEQ_EVENT_CLOCK); }, {0xF8}},
    {"Start", [](auto& e) { ofType(e, SND_SEQ_EVENT_START); }, {0xFA}},
    {"Stop", [](auto& e) { ofType(e, SND_SEQ_EVENT_STOP); }, {0xFC}},
    {"PortStartAnnouncement", [](auto& e) { ofType(e, SND_SEQ_EVENT_PORT_START); }, {}},
    {"ClientExitAnnouncement", [](auto& e) { ofType(e, SND_SEQ_EVENT_CLIENT_EXIT); }, {}},
    {"EmptySysex", [](auto& e) { snd_seq_ev_set_sysex(&e, 0, nullptr); }, {}},
    // A sysex type whose flags say it carries no data block: its pointer fields are not to be read.
    {"SysexWithoutDataBlock", [](auto& e) { ofType(e, SND_SEQ_EVENT_SYSEX); }, {}},
};

class AlsaEventBytesTest : public testing::TestWithParam<EventCase> {};

TEST_P(AlsaEventBytesTest, TranslatesToMIDIBytes)
{
    snd_seq_event_t event{};
    GetParam().build(event);
    EXPECT_EQ(alsaEventToMIDIBytes(event), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Events, AlsaEventBytesTest, testing::ValuesIn(eventCases),
                         [](const auto& info) { return info.param.name; });

TEST(AlsaEventBytes, NoRunningStatusAcrossEvents)
{
    snd_seq_event_t first{};
    snd_seq_ev_set_noteon(&first, 0, 60, 100);
    snd_seq_event_t second{};
    snd_seq_ev_set_noteon(&second, 0, 62, 100);
    EXPECT_EQ(alsaEventToMIDIBytes(first), (Bytes{0x90, 60, 100}));
    EXPECT_EQ(alsaEventToMIDIBytes(second), (Bytes{0x90, 62, 100}));
}

TEST(AlsaEventBytes, LongSysexIsCopiedWhole)
{
    Bytes message(4096, 0x11);
    message.front() = 0xF0;
    message.back() = 0xF7;
    snd_seq_event_t event{};
    snd_seq_ev_set_sysex(&event, message.size(), message.data());
    EXPECT_EQ(alsaEventToMIDIBytes(event), message);
}

} // namespace
