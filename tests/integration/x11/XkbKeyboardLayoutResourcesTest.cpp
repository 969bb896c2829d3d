// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/XkbKeyboardLayoutResources.h"
#include "CapturingLog.h"
#include "X11TestSupport.h"

#include <gtest/gtest.h>

// xcb/xkb.h names a field "explicit", which C++ reserves.
#define explicit xcb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <memory>

namespace {

using namespace Platform;

constexpr std::size_t kTablesOffset = 260;

// The virtual key code that types character c: the first key in table order, then key order.
int keyFor(const std::vector<std::uint8_t>& record, char c)
{
    const int tables = (record.at(258) << 8) | record.at(259);
    for (int t = 0; t < tables; ++t)
        for (int k = 0; k < 128; ++k)
            if (record.at(kTablesOffset + t * 128 + k) == std::uint8_t(c))
                return k;
    return -1;
}

class XkbKeyboardLayoutResourcesTest : public testing::Test {
protected:
    static void SetUpTestSuite() { sServer = std::make_unique<TestSupport::PrivateXServer>(); }
    static void TearDownTestSuite() { sServer.reset(); }

    long currentId() { return mLayout.GetScriptVariable(smCurrentScript, smScriptKeys); }

    // Runs setxkbmap and waits until the layout id moves away from the one before.
    long switchTo(const std::vector<std::string>& arguments)
    {
        const long before = currentId();
        std::vector<std::string> argv = {"setxkbmap", "-display", sServer->display()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        EXPECT_TRUE(X11Test::runProgram(argv));
        EXPECT_TRUE(X11Test::waitUntil([&] { return currentId() != before; }))
            << "the layout id did not change";
        return currentId();
    }

    std::vector<std::uint8_t> currentRecord()
    {
        auto record = mLayout.GetResource(kKCHRResourceType, std::int16_t(currentId()));
        EXPECT_TRUE(record);
        return record.value_or(std::vector<std::uint8_t>(kTablesOffset, 0));
    }

    static inline std::unique_ptr<TestSupport::PrivateXServer> sServer;
    XkbKeyboardLayoutResources mLayout;
};

TEST_F(XkbKeyboardLayoutResourcesTest, UsLayoutRecord)
{
    const long id = currentId();
    EXPECT_NE(id, 0);
    EXPECT_GE(id, -32768);
    EXPECT_LE(id, 32767);
    EXPECT_EQ(currentId(), id) << "the id moved while nothing changed";

    const auto record = currentRecord();
    const int tables = (record.at(258) << 8) | record.at(259);
    ASSERT_GE(tables, 2);
    ASSERT_EQ(record.size(), kTablesOffset + std::size_t(tables) * 128);
    EXPECT_EQ(record[0], 0);
    EXPECT_EQ(record[1], 0);
    EXPECT_EQ(record[kTablesOffset + 6], 'z');
    EXPECT_EQ(record[kTablesOffset + 128 + 6], 'Z');

    const std::pair<char, int> expected[] = {{'z', 6},  {'Z', 6},  {'c', 8},  {'R', 15}, {'a', 0},
                                             {' ', 49}, {'1', 18}, {'!', 18}, {'\r', 36}};
    for (const auto& [c, vk] : expected)
        EXPECT_EQ(keyFor(record, c), vk) << "character '" << c << "'";
    EXPECT_EQ(keyFor(record, char(0xE4)), -1) << "no key types a-umlaut on a US layout";
}

TEST_F(XkbKeyboardLayoutResourcesTest, FollowsLayoutChanges)
{
    const long us = currentId();

    const long de = switchTo({"de"});
    EXPECT_NE(de, 0);
    EXPECT_FALSE(mLayout.GetResource(kKCHRResourceType, std::int16_t(us))) << "the old id still answers";
    auto record = currentRecord();
    EXPECT_EQ(keyFor(record, 'z'), 16);
    EXPECT_EQ(keyFor(record, 'Z'), 16);
    EXPECT_EQ(keyFor(record, 'y'), 6);
    EXPECT_EQ(keyFor(record, char(0xE4)), 39) << "a-umlaut sits where the US quote is";

    switchTo({"us"});
    record = currentRecord();
    EXPECT_EQ(keyFor(record, 'z'), 6);
    EXPECT_EQ(keyFor(record, 'Z'), 6);
}

TEST_F(XkbKeyboardLayoutResourcesTest, FollowsTheActiveGroup)
{
    switchTo({"-layout", "us,de"});
    const long first = currentId();
    EXPECT_EQ(keyFor(currentRecord(), 'z'), 6);

    X11Test::Connection connection;
    xcb_xkb_use_extension_unchecked(connection.get(), 1, 0);
    xcb_xkb_latch_lock_state(connection.get(), XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1, 1, 0, 0, 0);
    connection.sync();
    ASSERT_TRUE(X11Test::waitUntil([&] { return currentId() != first; }))
        << "the group change went unnoticed";
    EXPECT_EQ(keyFor(currentRecord(), 'z'), 16);
}

TEST_F(XkbKeyboardLayoutResourcesTest, RefusesOtherRequests)
{
    Doubles::CapturingLog log;
    EXPECT_EQ(mLayout.GetScriptVariable(smCurrentScript, 0), 0);
    EXPECT_EQ(mLayout.GetScriptVariable(0, smScriptKeys), 0);
    const auto id = std::int16_t(currentId());
    EXPECT_FALSE(mLayout.GetResource(0x4B434853, id));
    EXPECT_FALSE(mLayout.GetResource(kKCHRResourceType, std::int16_t(id + 1)));
    EXPECT_EQ(log.lines().size(), 4u);
}

TEST(XkbKeyboardLayoutResourcesWithoutDisplay, HasNoResource)
{
    const std::string previous = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    setenv("DISPLAY", ":999", 1);
    Doubles::CapturingLog log;
    XkbKeyboardLayoutResources layout;
    const long id = layout.GetScriptVariable(smCurrentScript, smScriptKeys);
    EXPECT_NE(id, 0);
    EXPECT_FALSE(layout.GetResource(kKCHRResourceType, std::int16_t(id)));
    ASSERT_FALSE(log.lines().empty());
    EXPECT_NE(log.lines()[0].find(":999"), std::string::npos) << log.lines()[0];
    if (previous.empty())
        unsetenv("DISPLAY");
    else
        setenv("DISPLAY", previous.c_str(), 1);
}

} // namespace
