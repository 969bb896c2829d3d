// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <functional>
#include <memory>

namespace Platform {

class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching() {}
    virtual void applicationWillTerminate() {}
};

// The application object: event loop on the main thread.
class Application {
public:
    virtual ~Application() = default;
    virtual void setDelegate(ApplicationDelegate* delegate) = 0;
    // Ends the event loop through the normal path: the delegate hears applicationWillTerminate.
    virtual void terminate(const void* sender) = 0;
    // Runs work on the main thread; with waitUntilDone the caller blocks until it has run
    // (run at once when already on the main thread).
    virtual void performOnMainThread(std::function<void()> work, bool waitUntilDone) = 0;
};

// What a main interface file leaves alive: destroyed when the application ends.
class InterfaceObjects {
public:
    virtual ~InterfaceObjects() = default;
};
using InterfaceLoader = std::function<std::unique_ptr<InterfaceObjects>(Application&)>;

// Starts the Qt application, loads the interface, tells the delegate launching finished, runs
// the event loop until terminate: (SIGTERM and SIGINT take the same path) and returns the exit code.
int NSApplicationMain(int argc, char** argv, const InterfaceLoader& loadMainInterface);

} // namespace Platform
