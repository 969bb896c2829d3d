// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

// Private servers for integration and end-to-end tests. Each one starts its own instance, points
// this process's environment at it (so children inherit it) and stops it when destroyed, also when
// a test fails.

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace TestSupport {

// A child process started with posix_spawnp; SIGTERM then SIGKILL on destruction.
class ChildProcess {
public:
    // keepOpenFds stay open in the child; a stdoutFd >= 0 becomes its standard output.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<int>& keepOpenFds = {}, int stdoutFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return mPid; }
    bool running();
    // Sends SIGTERM and waits at most timeoutMs for the exit; returns the exit status (waitpid form).
    int terminate(int timeoutMs = 5000);
    // Waits at most timeoutMs; true (and the status) when the process ended.
    bool waitForExit(int timeoutMs, int* status = nullptr);

private:
    pid_t mPid = -1;
    bool mReaped = false;
    int mStatus = 0;
};

bool haveProgram(const std::string& name);

// dbus-daemon --session; sets DBUS_SESSION_BUS_ADDRESS.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    const std::string& address() const { return mAddress; }

private:
    std::string mAddress;
    std::string mPreviousAddress;
    std::unique_ptr<ChildProcess> mDaemon;
};

// Xvfb on a free display; sets DISPLAY.
class PrivateXServer {
public:
    PrivateXServer();
    ~PrivateXServer();
    const std::string& display() const { return mDisplay; }

private:
    std::string mDisplay;
    std::string mPreviousDisplay;
    std::unique_ptr<ChildProcess> mServer;
};

// jackd -d dummy under a unique server name; sets JACK_DEFAULT_SERVER.
class PrivateJackServer {
public:
    static constexpr unsigned sampleRate = 48000;
    static constexpr unsigned periodFrames = 256;

    PrivateJackServer();
    ~PrivateJackServer();
    const std::string& serverName() const { return mName; }

private:
    std::string mName;
    std::string mPreviousName;
    std::unique_ptr<ChildProcess> mServer;
};

} // namespace TestSupport
