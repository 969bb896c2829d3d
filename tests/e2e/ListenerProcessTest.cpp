// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// The built listener as a process, on a private session bus, without a display or a MIDI server.
#include "E2EEnvironment.h"

#include "DefaultMappings.h"

#include "Platform/PropertyList.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/wait.h>

using namespace E2E;

namespace {

class ListenerProcessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        unsetenv("DISPLAY");
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // No JACK server answers under this name, and there is no ALSA sequencer here: no MIDI.
        setenv("JACK_DEFAULT_SERVER", "cuebolt-e2e-no-such-server", 1);
        setenv("JACK_NO_START_SERVER", "1", 1);
        sBus = std::make_unique<TestSupport::PrivateSessionBus>();
    }
    static void TearDownTestSuite() { sBus.reset(); }

    ScratchHome mHome;
    static std::unique_ptr<TestSupport::PrivateSessionBus> sBus;
};

std::unique_ptr<TestSupport::PrivateSessionBus> ListenerProcessTest::sBus;

TEST_F(ListenerProcessTest, StartsWritesTheDefaultsAndShutsDownOnSIGTERM)
{
    auto listener = startListener();
    ASSERT_TRUE(listener->waitForLine("CueboltListener " + kVersion + " has started up.", 15s))
        << testing::PrintToString(listener->lines());

    const auto stored = Platform::readPropertyListFile(mHome.preferencesFile(kListenerID));
    ASSERT_TRUE(stored);
    const auto* domain = stored->getIf<Platform::PlistDictionary>();
    ASSERT_TRUE(domain);
    EXPECT_EQ(domain->at("default mappings"), Platform::PlistValue(DefaultMappings::records()));
    EXPECT_EQ(listener->countLines("{function = \"transport-"), 6u);

    listener->signal(SIGTERM);
    const auto status = listener->waitForExit(15s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status;
    EXPECT_TRUE(listener->waitForLine("Cuebolt " + kVersion + " is shutting down.", 1s));
}

TEST_F(ListenerProcessTest, SIGINTTakesTheSameNormalPath)
{
    auto listener = startListener();
    ASSERT_TRUE(listener->waitForLine("has started up.", 15s));
    listener->signal(SIGINT);
    const auto status = listener->waitForExit(15s);
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_EQ(listener->countLines("is shutting down."), 1u);
}

TEST_F(ListenerProcessTest, ADamagedPreferenceFileIsKeptAsideAndTheDefaultsWritten)
{
    fs::create_directories(mHome.preferencesFile(kListenerID).parent_path());
    { std::ofstream(mHome.preferencesFile(kListenerID)) << "<plist><dict><key>default mappings"; }

    auto listener = startListener();
    ASSERT_TRUE(listener->waitForLine("has started up.", 15s)) << testing::PrintToString(listener->lines());
    std::size_t kept = 0;
    for (const auto& entry : fs::directory_iterator(mHome.preferencesFile(kListenerID).parent_path()))
        kept += entry.path().filename().string().find(".damaged") != std::string::npos;
    EXPECT_EQ(kept, 1u);
    EXPECT_TRUE(Platform::readPropertyListFile(mHome.preferencesFile(kListenerID)));
    listener->signal(SIGTERM);
    EXPECT_TRUE(listener->waitForExit(15s));
}

} // namespace
