// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "PrivateServers.h"

#include <jack/jack.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace TestSupport {

namespace {

using Clock = std::chrono::steady_clock;

std::string getenvOr(const char* name, const std::string& fallback = {})
{
    const char* v = std::getenv(name);
    return v ? v : fallback;
}

void restoreEnv(const char* name, const std::string& previous)
{
    if (previous.empty())
        unsetenv(name);
    else
        setenv(name, previous.c_str(), 1);
}

// Reads one line from fd, waiting at most timeoutMs.
std::string readLine(int fd, int timeoutMs)
{
    std::string line;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        const int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (poll(&p, 1, left > 0 ? left : 0) <= 0)
            break;
        char c;
        if (read(fd, &c, 1) != 1)
            break;
        if (c == '\n')
            return line;
        line += c;
    }
    return line;
}

std::string uniqueSuffix()
{
    return std::to_string(getpid()) + "-" +
           std::to_string(Clock::now().time_since_epoch().count() % 1000000);
}

} // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::vector<int>& keepOpenFds, int stdoutFd)
{
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : keepOpenFds) // clear close-on-exec by duplicating onto itself
        posix_spawn_file_actions_adddup2(&actions, fd, fd);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    const int rc = posix_spawnp(&mPid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
}

ChildProcess::~ChildProcess()
{
    if (running())
        terminate();
}

bool ChildProcess::running()
{
    if (mReaped)
        return false;
    if (waitpid(mPid, &mStatus, WNOHANG) == mPid) {
        mReaped = true;
        return false;
    }
    return true;
}

bool ChildProcess::waitForExit(int timeoutMs, int* status)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (running()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (status)
        *status = mStatus;
    return true;
}

int ChildProcess::terminate(int timeoutMs)
{
    if (running()) {
        kill(mPid, SIGTERM);
        if (!waitForExit(timeoutMs)) {
            kill(mPid, SIGKILL);
            waitForExit(5000);
        }
    }
    return mStatus;
}

bool haveProgram(const std::string& name)
{
    const std::string path = getenvOr("PATH", "/usr/bin:/bin");
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = path.find(':', start);
        const std::string dir = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (access((dir + "/" + name).c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

PrivateSessionBus::PrivateSessionBus() : mPreviousAddress(getenvOr("DBUS_SESSION_BUS_ADDRESS"))
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    mDaemon = std::make_unique<ChildProcess>(std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--nopidfile",
                                "--print-address=" + std::to_string(fds[1])},
                               std::vector<int>{fds[1]});
    close(fds[1]);
    mAddress = readLine(fds[0], 10000);
    close(fds[0]);
    if (mAddress.empty()) {
        mDaemon.reset();
        throw std::runtime_error("dbus-daemon did not print its address");
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", mAddress.c_str(), 1);
}

PrivateSessionBus::~PrivateSessionBus()
{
    mDaemon.reset();
    restoreEnv("DBUS_SESSION_BUS_ADDRESS", mPreviousAddress);
}

PrivateXServer::PrivateXServer() : mPreviousDisplay(getenvOr("DISPLAY"))
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    mServer = std::make_unique<ChildProcess>(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                                "-nolisten", "tcp", "-noreset"},
                               std::vector<int>{fds[1]});
    close(fds[1]);
    const std::string number = readLine(fds[0], 15000);
    close(fds[0]);
    if (number.empty()) {
        mServer.reset();
        throw std::runtime_error("Xvfb did not report its display");
    }
    mDisplay = ":" + number;
    setenv("DISPLAY", mDisplay.c_str(), 1);
}

PrivateXServer::~PrivateXServer()
{
    mServer.reset();
    restoreEnv("DISPLAY", mPreviousDisplay);
}

PrivateJackServer::PrivateJackServer()
    : mName("cuebolt-test-" + uniqueSuffix()), mPreviousName(getenvOr("JACK_DEFAULT_SERVER"))
{
    setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    mServer = std::make_unique<ChildProcess>(std::vector<std::string>{"jackd", "--no-realtime", "-n", mName, "-d", "dummy", "-r",
                                std::to_string(sampleRate), "-p", std::to_string(periodFrames)});
    setenv("JACK_DEFAULT_SERVER", mName.c_str(), 1);
    jack_set_error_function([](const char*) {}); // the probes below fail until the server is up
    const auto deadline = Clock::now() + std::chrono::seconds(15);
    while (Clock::now() < deadline && mServer->running()) {
        jack_status_t status;
        if (jack_client_t* probe = jack_client_open("cuebolt-probe", JackNoStartServer, &status)) {
            jack_client_close(probe);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    mServer.reset();
    restoreEnv("JACK_DEFAULT_SERVER", mPreviousName);
    throw std::runtime_error("jackd -d dummy did not come up");
}

PrivateJackServer::~PrivateJackServer()
{
    mServer.reset();
    restoreEnv("JACK_DEFAULT_SERVER", mPreviousName);
}

} // namespace TestSupport
