// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ListenerFixture.h"

using namespace Platform;
using Doubles::PostedKeyEvent;
using Events = std::vector<PostedKeyEvent>;

namespace {

const Events kSpace = {{0x20, 49, true}, {0x20, 49, false}};
const Events kLeft = {{0, 123, true}, {0, 123, false}};
const Events kRight = {{0, 124, true}, {0, 124, false}};
const Events kZ = {{'Z', 6, true}, {'Z', 6, false}};
const Events kC = {{'c', 8, true}, {'c', 8, false}};
const Events kR = {{'R', 15, true}, {'R', 15, false}};

Events concat(std::initializer_list<Events> parts)
{
    Events all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct DispatchCase {
    const char* name;
    std::vector<std::vector<std::uint8_t>> packets;
    Events expected;
    friend void PrintTo(const DispatchCase& c, std::ostream* os) { *os << c.name; }
};

class DispatchTest : public ListenerTest, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(DispatchTest, DefaultMappingsDriveTheTransport)
{
    auto controller = makeAwakeController();
    MIDIPacketList list;
    for (const auto& p : GetParam().packets)
        list.add(0, p);
    mMIDI.inject(*mMIDI.connectedSources().begin(), list);
    EXPECT_EQ(mKeys.events(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Packets, DispatchTest,
    ::testing::Values(
        DispatchCase{"PlayStop", {{0xF0, 0x7D, 0x03, 0xF7}}, kSpace},
        DispatchCase{"PlayStopWithoutEndByte", {{0xF0, 0x7D, 0x03}}, kSpace},
        DispatchCase{"DoubleEndByteMatchesNothing", {{0xF0, 0x7D, 0x03, 0xF7, 0xF7}}, {}},
        DispatchCase{"SysexFollowedByNoteOnMatchesNothing", {{0xF0, 0x7D, 0x03, 0xF7, 0x90, 0x40, 0x7F}}, {}},
        DispatchCase{"EachFunction",
                     {{0xF0, 0x7D, 0x01, 0xF7},
                      {0xF0, 0x7D, 0x02, 0xF7},
                      {0xF0, 0x7D, 0x03, 0xF7},
                      {0xF0, 0x7D, 0x04, 0xF7},
                      {0xF0, 0x7D, 0x05, 0xF7},
                      {0xF0, 0x7D, 0x06, 0xF7}},
                     concat({kZ, kLeft, kSpace, kRight, kC, kR})},
        DispatchCase{"ThreePacketsInOrder",
                     {{0xF0, 0x7D, 0x01, 0xF7}, {0xF0, 0x7D, 0x02, 0xF7}, {0xF0, 0x7D, 0x01, 0xF7}},
                     concat({kZ, kLeft, kZ})},
        DispatchCase{"SplitMessageMatchesNothing", {{0xF0, 0x7D}, {0x03, 0xF7}}, {}},
        DispatchCase{"EmptyPacketMatchesNothingByDefault", {{}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListenerTest, NothingIsDispatchedWhileGarageBandDoesNotRun)
{
    auto controller = makeAwakeController();
    mWorkspace.terminate("GarageBand");
    mMIDI.inject(*mMIDI.connectedSources().begin(), MIDIPacketList::withPackets({{0xF0, 0x7D, 0x03, 0xF7}}));
    EXPECT_TRUE(mKeys.events().empty());
    EXPECT_TRUE(mWorkspace.launchRequests().empty());

    mWorkspace.launch("GarageBand", "com.apple.garageband");
    mMIDI.inject(*mMIDI.connectedSources().begin(), MIDIPacketList::withPackets({{0xF0, 0x7D, 0x03, 0xF7}}));
    EXPECT_EQ(mKeys.events(), kSpace);
}

TEST_F(ListenerTest, EveryActionBringsGarageBandForwardFirst)
{
    auto controller = makeAwakeController();
    mMIDI.inject(*mMIDI.connectedSources().begin(),
                 MIDIPacketList::withPackets({{0xF0, 0x7D, 0x02, 0xF7}, {0xF0, 0x7D, 0x06, 0xF7}}));
    EXPECT_EQ(mWorkspace.launchRequests(), (std::vector<std::string>{"GarageBand", "GarageBand"}));
}

struct ListShapeCase {
    const char* name;
    PlistArray mappings;
    std::vector<std::uint8_t> packet;
    Events expected;
    friend void PrintTo(const ListShapeCase& c, std::ostream* os) { *os << c.name; }
};

class ListShapeTest : public ListenerTest, public ::testing::WithParamInterface<ListShapeCase> {};

TEST_P(ListShapeTest, PositionDecidesTheAction)
{
    storeMappings(GetParam().mappings);
    auto controller = makeAwakeController();
    mMIDI.inject(*mMIDI.connectedSources().begin(), MIDIPacketList::withPackets({GetParam().packet}));
    EXPECT_EQ(mKeys.events(), GetParam().expected);
}

PlistArray numbered(std::initializer_list<std::uint8_t> functionBytes)
{
    PlistArray list;
    for (auto b : functionBytes)
        list.push_back(mappingRecord("any", {0xF0, 0x7D, b, 0xF7}));
    return list;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListShapeTest,
    ::testing::Values(
        ListShapeCase{"DuplicateAtOneAndFourRewinds", numbered({1, 9, 3, 4, 9, 6}), {0xF0, 0x7D, 0x09, 0xF7}, kLeft},
        ListShapeCase{"FirstEqualRecordAtSixDoesNothing", numbered({1, 2, 3, 4, 5, 6, 7, 7}), {0xF0, 0x7D, 0x07, 0xF7},
                      {}},
        ListShapeCase{"FiveRecordsCannotRecord", numbered({1, 2, 3, 4, 5}), {0xF0, 0x7D, 0x06, 0xF7}, {}},
        ListShapeCase{"EmptyStoredSysexMatchesAnEmptyPacket",
                      PlistArray{mappingRecord("transport-zero", {})}, {}, kZ},
        ListShapeCase{"RecordWithoutSysexMatchesNothing",
                      PlistArray{PlistDictionary{{"function", "transport-zero"}}, mappingRecord("r", {0xF7})}, {}, kLeft},
        ListShapeCase{"FunctionNameIsNeverRead", PlistArray{mappingRecord("transport-rec", {0xF0, 0x01, 0xF7})},
                      {0xF0, 0x01, 0xF7}, kZ}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListenerTest, LettersAreLookedUpOnTheCurrentLayoutBeforeEachEvent)
{
    using Doubles::FakeKeyboardLayout;
    mLayout.addLayout(2, {FakeKeyboardLayout::table({{16, 'z'}}), FakeKeyboardLayout::table({{16, 'Z'}})});
    auto controller = makeAwakeController();
    mLayout.select(2);
    controller->sendZero(controller.get());
    EXPECT_EQ(mKeys.events(), (Events{{'Z', 16, true}, {'Z', 16, false}}));
}

TEST_F(ListenerTest, ACharacterNoKeyTypesIsPostedAsKeyCodeFFFF)
{
    using Doubles::FakeKeyboardLayout;
    mLayout.addLayout(3, {FakeKeyboardLayout::table({{6, 'z'}})});
    mLayout.select(3);
    auto controller = makeAwakeController();
    controller->sendLoop(controller.get());
    EXPECT_EQ(mKeys.events(), (Events{{'c', 0xFFFF, true}, {'c', 0xFFFF, false}}));
}

} // namespace
