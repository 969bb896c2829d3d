// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "MainJobRig.h"

#include <jack/jack.h>

#include <X11/Xlib.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace TestSupport {

namespace {

bool displayAnswers()
{
    if (!std::getenv("DISPLAY"))
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

bool jackAnswers()
{
    jack_set_error_function([](const char*) {}); // a refused probe is an answer, not an error
    jack_status_t status;
    jack_client_t* probe = jack_client_open("cuebolt-probe", JackNoStartServer, &status);
    if (!probe)
        return false;
    jack_client_close(probe);
    return true;
}

template <class Condition> bool pollUntil(std::chrono::milliseconds timeout, Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace

std::string MainJobRig::listenerExecutable() { return CUEBOLT_LISTENER_EXECUTABLE; }

MainJobRig::MainJobRig(Options options) : mOptions(options)
{
    char pattern[] = "/tmp/cuebolt-rig-XXXXXX";
    mScratch = mkdtemp(pattern);
    if (mOptions.privateSettings)
        setenv("XDG_CONFIG_HOME", (mScratch / "config").c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);

    if (!mOptions.useMachineServers || !displayAnswers()) {
        mXServer = std::make_unique<PrivateXServer>();
        mStarted.push_back("Xvfb " + mXServer->display());
    }
    if (!mOptions.useMachineServers || !jackAnswers()) {
        mJack = std::make_unique<PrivateJackServer>();
        mStarted.push_back("jackd -d dummy (" + mJack->serverName() + ")");
    }
    if (!mOptions.useMachineServers || !std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        mBus = std::make_unique<PrivateSessionBus>();
        mStarted.push_back("dbus-daemon --session");
    }
}

MainJobRig::~MainJobRig()
{
    mSender.reset();
    if (mListener) {
        mListener->signal(SIGTERM);
        mListener->waitForExit(std::chrono::seconds(10));
    }
    mListener.reset();
    mTarget.reset();
    mBus.reset();
    mJack.reset();
    mXServer.reset();
    std::error_code ignored;
    fs::remove_all(mScratch, ignored);
}

fs::path MainJobRig::preferencesFile() const
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const fs::path base = config ? fs::path(config) : fs::path(std::getenv("HOME")) / ".config";
    return base / "preferences" / (listenerBundleIdentifier() + ".plist");
}

// The process list names a bundle application after its bundle, so the stand-in runs as a copy
// inside GarageBand.app (a symbolic link would resolve to the stand-in's own name).
fs::path MainJobRig::makeGarageBandBundle()
{
    const fs::path bundle = mScratch / "GarageBand.app";
    fs::create_directories(bundle / "Contents/MacOS");
    std::ofstream(bundle / "Contents/Info.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>CFBundleIdentifier</key><string>com.apple.garageband</string>"
           "<key>CFBundleExecutable</key><string>GarageBand</string>"
           "<key>CFBundleVersion</key><string>1.0</string></dict></plist>\n";
    const fs::path executable = bundle / "Contents/MacOS/GarageBand";
    if (!fs::exists(executable))
        fs::copy_file(StandinTarget::builtPath(), executable);
    return executable;
}

StandinTarget& MainJobRig::startTarget()
{
    mTarget = std::make_unique<StandinTarget>(makeGarageBandBundle().native());
    return *mTarget;
}

void MainJobRig::stopTarget() { mTarget.reset(); }

CapturedProcess& MainJobRig::startListener()
{
    mListener = std::make_unique<CapturedProcess>(std::vector<std::string>{listenerExecutable()});
    return *mListener;
}

bool MainJobRig::waitForListenerStart(std::chrono::milliseconds timeout)
{
    return mListener && mListener->waitForLine("has started up.", timeout).has_value();
}

JackSysexSender& MainJobRig::sender()
{
    if (!mSender)
        mSender = std::make_unique<JackSysexSender>();
    return *mSender;
}

bool MainJobRig::waitForSenderConnection(std::chrono::milliseconds timeout)
{
    auto& s = sender();
    return pollUntil(timeout, [&] { return s.isConnectedTo(listenerInputPort()); });
}

std::optional<std::string> MainJobRig::nextKeyEvent(int timeoutMs)
{
    if (!mTarget)
        return std::nullopt;
    return mTarget->waitForLine([](const std::string& line) { return line.rfind("Key", 0) == 0; }, timeoutMs);
}

int keycodeOf(const std::string& line)
{
    const auto at = line.find("keycode=");
    return at == std::string::npos ? -1 : std::atoi(line.c_str() + at + 8);
}

bool isKeyPress(const std::string& line) { return line.rfind("KeyPress", 0) == 0; }

} // namespace TestSupport
