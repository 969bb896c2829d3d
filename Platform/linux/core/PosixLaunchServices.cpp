// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/PosixLaunchServices.h"

#include "Platform/Bundle.h"
#include "Platform/Log.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <linux/close_range.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Platform {
namespace {

namespace fs = std::filesystem;

fs::path executableOf(const fs::path& app)
{
    std::error_code error;
    const auto bundle = fs::is_directory(app, error) ? Bundle::bundleWithPath(app.string()) : nullptr;
    if (!bundle)
        return app;
    const fs::path bundlePath = bundle->bundlePath();
    const auto& info = bundle->infoDictionary();
    const auto it = info.find("CFBundleExecutable");
    const auto* name = it != info.end() ? it->second.getIf<std::string>() : nullptr;
    return bundlePath / "Contents" / "MacOS" / (name && !name->empty() ? fs::path(*name) : bundlePath.stem());
}

void writeErrno(int fd)
{
    const int error = errno;
    [[maybe_unused]] const auto written = ::write(fd, &error, sizeof error);
}

// Runs in the intermediate child: only async-signal-safe calls from here on.
[[noreturn]] void runDetached(const char* executable, int errorPipe)
{
    ::setsid();
    const pid_t grandchild = ::_Fork();
    if (grandchild != 0) {
        if (grandchild < 0)
            writeErrno(errorPipe);
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    const int devNull = ::open("/dev/null", O_RDONLY);
    if (devNull > 0) {
        ::dup2(devNull, STDIN_FILENO);
        ::close(devNull);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        ::sigaction(signal, &defaultAction, nullptr);
    // The new program should not inherit our connections and files.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    char* const argv[] = {const_cast<char*>(executable), nullptr};
    ::execv(executable, argv);
    writeErrno(errorPipe);
    ::_exit(127);
}

OSStatus spawnDetached(const std::string& executable)
{
    // The pipe closes unread when exec succeeds; otherwise it carries the errno.
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        NSLog("cannot start " + executable + ": " + std::strerror(errno));
        return kLSUnknownErr;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(errorPipe[0]);
        runDetached(executable.c_str(), errorPipe[1]);
    }
    const int forkError = errno;
    ::close(errorPipe[1]);
    if (child < 0) {
        ::close(errorPipe[0]);
        NSLog("cannot start " + executable + ": " + std::strerror(forkError));
        return kLSUnknownErr;
    }
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int execError = 0;
    ssize_t n = 0;
    do {
        n = ::read(errorPipe[0], &execError, sizeof execError);
    } while (n < 0 && errno == EINTR);
    ::close(errorPipe[0]);
    if (n == static_cast<ssize_t>(sizeof execError)) {
        NSLog("cannot start " + executable + ": " + std::strerror(execError));
        return kLSUnknownErr;
    }
    return noErr;
}

} // namespace

// kLSLaunchDontSwitch needs nothing here: launching never activates a window, the new program
// comes forward only if it raises itself.
OSStatus PosixLaunchServices::LSOpenFromRefSpec(const FSRef& app, std::uint32_t /*launchFlags*/)
{
    std::error_code error;
    if (!fs::exists(app.path, error)) {
        NSLog("cannot start " + app.path + ": it does not exist");
        return fnfErr;
    }
    const auto executable = executableOf(app.path);
    if (!fs::exists(executable, error)) {
        NSLog("cannot start " + app.path + ": its executable " + executable.string() + " does not exist");
        return fnfErr;
    }
    return spawnDetached(executable.string());
}

} // namespace Platform
