// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "ListenerFixture.h"

#include "DefaultMappings.h"

using namespace Platform;

namespace {

const PlistData* sysexAt(const CBController& controller, std::size_t i)
{
    const auto* record = (*controller.mappings())[i].getIf<PlistDictionary>();
    return record ? record->at("sysex").getIf<PlistData>() : nullptr;
}

TEST_F(ListenerTest, FirstStartWritesTheSixDefaultsInOrderAndLogsEach)
{
    auto controller = makeController();

    const auto stored = mPreferences.onDisk("default mappings", kListenerID);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, PlistValue(DefaultMappings::records()));
    const auto* records = stored->getIf<PlistArray>();
    ASSERT_EQ(records->size(), 6u);
    EXPECT_EQ((*records)[0], PlistValue(mappingRecord("transport-zero", {0xF0, 0x7D, 0x01, 0xF7})));
    EXPECT_EQ((*records)[5], PlistValue(mappingRecord("transport-rec", {0xF0, 0x7D, 0x06, 0xF7})));

    const auto lines = mLog.lines();
    ASSERT_EQ(lines.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(lines[i], (*records)[i].description());
    EXPECT_NE(lines[2].find("transport-play"), std::string::npos);
    EXPECT_TRUE(mApplication.terminateCount() == 0);
}

TEST_F(ListenerTest, StoredMappingsAreReadNotOverwritten)
{
    const PlistArray mine = {mappingRecord("transport-zero", {0xF0, 0x11, 0xF7})};
    storeMappings(mine);
    auto controller = makeController();
    EXPECT_EQ(*mPreferences.onDisk("default mappings", kListenerID), PlistValue(mine));
    EXPECT_EQ(controller->mappings()->size(), 1u);
    EXPECT_EQ(mLog.lines().size(), 1u);
}

struct EndByteCase {
    const char* name;
    PlistData stored;
    PlistData heldInMemory;
    friend void PrintTo(const EndByteCase& c, std::ostream* os) { *os << c.name; }
};

class EndByteTest : public ListenerTest, public ::testing::WithParamInterface<EndByteCase> {};

TEST_P(EndByteTest, AMissingEndByteIsAddedInMemoryOnly)
{
    const auto& c = GetParam();
    storeMappings(PlistArray{mappingRecord("transport-zero", c.stored)});
    auto controller = makeController();
    ASSERT_NE(sysexAt(*controller, 0), nullptr);
    EXPECT_EQ(*sysexAt(*controller, 0), c.heldInMemory);
    EXPECT_EQ(*mPreferences.onDisk("default mappings", kListenerID),
              PlistValue(PlistArray{mappingRecord("transport-zero", c.stored)}));
}

INSTANTIATE_TEST_SUITE_P(
    Load, EndByteTest,
    ::testing::Values(EndByteCase{"WithoutEnd", {0xF0, 0x7D, 0x01}, {0xF0, 0x7D, 0x01, 0xF7}},
                      EndByteCase{"Empty", {}, {0xF7}},
                      EndByteCase{"AlreadyEnded", {0xF0, 0x7D, 0x01, 0xF7}, {0xF0, 0x7D, 0x01, 0xF7}},
                      EndByteCase{"InnerEndKept", {0xF0, 0xF7, 0x01, 0xF7}, {0xF0, 0xF7, 0x01, 0xF7}},
                      EndByteCase{"OnlyInnerEnd", {0xF7, 0x01}, {0xF7, 0x01, 0xF7}}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamagedCase {
    const char* name;
    PlistValue stored;
    std::size_t expectedRecords;
    const char* expectedLogFragment;
    friend void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }
};

class DamagedMappingsTest : public ListenerTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedMappingsTest, LogsOnceKeepsRunningAndNeverOverwritesTheStoredValue)
{
    const auto& c = GetParam();
    storeMappings(c.stored);
    auto controller = makeController();

    EXPECT_EQ(controller->mappings()->size(), c.expectedRecords);
    EXPECT_EQ(*mPreferences.onDisk("default mappings", kListenerID), c.stored);
    const auto lines = mLog.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.find(c.expectedLogFragment) != std::string::npos; }),
              1);
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, DamagedMappingsTest,
    ::testing::Values(
        DamagedCase{"NotAnArray", PlistValue("F0 7D 01 F7"), 0, "not an array"},
        DamagedCase{"RecordNotADictionary",
                    PlistValue(PlistArray{PlistValue(42), mappingRecord("transport-rew", {0xF0, 0x7D, 0x02, 0xF7})}),
                    2, "mapping 0 is an integer, not a dictionary"},
        DamagedCase{"SysexNotData",
                    PlistValue(PlistArray{PlistDictionary{{"function", "transport-zero"}, {"sysex", "F07D01F7"}}}), 1,
                    "mapping 0 has a \"sysex\" that is a string, not data"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListenerTest, DamagedRecordsMatchNothingAndOthersKeepTheirPositions)
{
    storeMappings(PlistArray{PlistValue(42), PlistDictionary{{"function", "transport-rew"}},
                             mappingRecord("transport-play", {0xF0, 0x7D, 0x03, 0xF7})});
    mWorkspace.launch("GarageBand", "com.apple.garageband");
    auto controller = makeController();
    controller->awakeFromNib();
    mMIDI.deliverNotification();

    mMIDI.inject(*mMIDI.connectedSources().begin(), MIDIPacketList::withPackets({{0xF0, 0x7D, 0x03, 0xF7}}));
    EXPECT_EQ(mKeys.events(), (std::vector<Doubles::PostedKeyEvent>{{0x20, 49, true}, {0x20, 49, false}}));
}

TEST_F(ListenerTest, ReloadReplacesTheWholeList)
{
    auto controller = makeController();
    const auto before = controller->mappings();
    storeMappings(PlistArray{mappingRecord("transport-zero", {0xF0, 0x01, 0xF7})});
    controller->loadFromPrefs();
    EXPECT_EQ(controller->mappings()->size(), 1u);
    EXPECT_EQ(before->size(), 6u) << "a reader holding the old list keeps it whole";
}

TEST_F(ListenerTest, RestoreDefaultsStoresAndSynchronizesWithoutPosting)
{
    auto controller = makeController();
    storeMappings(PlistArray{});
    const int syncs = mPreferences.synchronizeCount();
    controller->restoreDefaultMappings(controller.get());
    EXPECT_EQ(*mPreferences.onDisk("default mappings", kListenerID), PlistValue(DefaultMappings::records()));
    EXPECT_EQ(mPreferences.synchronizeCount(), syncs + 1);
    EXPECT_TRUE(posted().empty());
}

} // namespace
