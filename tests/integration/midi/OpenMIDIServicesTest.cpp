// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "MIDITestSupport.h"
#include "Platform/Linux/AlsaMIDIServices.h"
#include "Platform/Linux/JackMIDIServices.h"
#include "PrivateServers.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

using namespace MIDITest;

TEST(OpenMIDIServices, PicksJackWhenItsServerAnswers)
{
    LogCapture log;
    TestSupport::PrivateJackServer server;
    const std::unique_ptr<Platform::MIDIServices> services = Platform::openMIDIServices();
    EXPECT_NE(dynamic_cast<Platform::JackMIDIServices*>(services.get()), nullptr);
    EXPECT_TRUE(log.contains("using the JACK server '" + server.serverName() + "'"));
}

TEST(OpenMIDIServices, FallsBackToTheAlsaSequencerWithoutAJackServer)
{
    LogCapture log;
    const std::string absent = "cuebolt-absent-" + std::to_string(getpid());
    const char* previous = std::getenv("JACK_DEFAULT_SERVER");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("JACK_DEFAULT_SERVER", absent.c_str(), 1);
    const std::unique_ptr<Platform::MIDIServices> services = Platform::openMIDIServices();
    if (previous != nullptr)
        setenv("JACK_DEFAULT_SERVER", saved.c_str(), 1);
    else
        unsetenv("JACK_DEFAULT_SERVER");
    EXPECT_NE(dynamic_cast<Platform::AlsaMIDIServices*>(services.get()), nullptr);
    EXPECT_TRUE(log.contains("cannot reach the JACK server '" + absent + "'; using the ALSA sequencer"));
}

TEST(AlsaMIDIServices, WithoutASequencerFailsWithAClearLine)
{
    if (access("/dev/snd/seq", F_OK) == 0)
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    ensureCoreApplication();
    LogCapture log;
    Platform::AlsaMIDIServices services;
    Platform::MIDIClientRef client = 0;
    EXPECT_EQ(services.MIDIClientCreate("CBMIDI", nullptr, nullptr, &client), Platform::kMIDIServerStartErr);
    EXPECT_TRUE(log.contains("cannot open the ALSA sequencer"));
    // Everything after a failed start fails harmlessly, as the listener goes on calling.
    EXPECT_EQ(services.MIDISourceCreate(client, "Cuebolt", nullptr), Platform::kMIDIInvalidClient);
    EXPECT_EQ(services.MIDIInputPortCreate(client, "Input port", nullptr, nullptr, nullptr),
              Platform::kMIDIInvalidClient);
    EXPECT_EQ(services.MIDIGetNumberOfSources(), 0u);
    EXPECT_EQ(services.MIDIGetSource(0), 0u);
    EXPECT_EQ(services.MIDIPortConnectSource(0, 1, nullptr), Platform::kMIDIInvalidPort);
    EXPECT_EQ(services.MIDIClientDispose(client), Platform::kMIDIInvalidClient);
}

} // namespace
