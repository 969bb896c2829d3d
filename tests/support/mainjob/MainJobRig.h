// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

// Everything the main job needs around the built listener: a display, a JACK server and a session
// bus (private ones unless the machine's own are used), a scratch settings folder, the stand-in
// "GarageBand" application as a bundle, and a JACK client that plays System Exclusive messages.

#include "CapturedProcess.h"
#include "JackSysexSender.h"
#include "PrivateServers.h"
#include "StandinTarget.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

class MainJobRig {
public:
    struct Options {
        bool useMachineServers = false; // the machine's display, JACK and bus where they answer
        bool privateSettings = true;    // a scratch XDG_CONFIG_HOME
    };

    explicit MainJobRig(Options options);
    MainJobRig() : MainJobRig(Options{}) {}
    ~MainJobRig();

    static std::string listenerExecutable();
    static std::string listenerBundleIdentifier() { return "com.plexwerk.cueboltlistener"; }
    static std::string listenerInputPort() { return "CBMIDI:Input port"; }
    std::filesystem::path preferencesFile() const;
    std::vector<std::string> serversStarted() const { return mStarted; }

    // The stand-in as GarageBand.app (bundle identifier "com.apple.garageband").
    StandinTarget& startTarget();
    void stopTarget();
    StandinTarget* target() { return mTarget.get(); }

    CapturedProcess& startListener();
    CapturedProcess* listener() { return mListener.get(); }
    // Waits for "has started up.".
    bool waitForListenerStart(std::chrono::milliseconds timeout = std::chrono::seconds(15));

    // A sender client (created on first use) connected to the listener's input port.
    JackSysexSender& sender();
    void dropSender() { mSender.reset(); }
    bool waitForSenderConnection(std::chrono::milliseconds timeout = std::chrono::seconds(10));

    // The next key event line of the target within timeout ("KeyPress keycode=65 ...").
    std::optional<std::string> nextKeyEvent(int timeoutMs = 5000);

private:
    std::filesystem::path makeGarageBandBundle();

    Options mOptions;
    std::filesystem::path mScratch;
    std::unique_ptr<PrivateXServer> mXServer;
    std::unique_ptr<PrivateJackServer> mJack;
    std::unique_ptr<PrivateSessionBus> mBus;
    std::vector<std::string> mStarted;
    std::unique_ptr<StandinTarget> mTarget;
    std::unique_ptr<CapturedProcess> mListener;
    std::unique_ptr<JackSysexSender> mSender;
};

// The X key code the stand-in reports for an event line, or -1.
int keycodeOf(const std::string& keyEventLine);
bool isKeyPress(const std::string& keyEventLine);

} // namespace TestSupport
