// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Linux/WindowActivator.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

struct xcb_connection_t;

namespace Platform {

struct X11Atoms;

// Activates windows on $DISPLAY over a private connection: through the window manager
// (_NET_ACTIVE_WINDOW) when it offers that, otherwise by raising the window and giving it the input
// focus. The last window activated is remembered and watched, so activating it again while it is
// still the active one costs no round trip to the server.
class X11WindowActivator final : public WindowActivator {
public:
    X11WindowActivator();
    ~X11WindowActivator() override;

    bool activateWindowOfProcess(pid_t pid) override;

private:
    struct Disconnect {
        void operator()(xcb_connection_t* connection) const;
    };
    struct Target {
        pid_t pid;
        std::uint32_t window;
        bool focused; // without a window manager: the window holds the input focus
    };

    bool usable();
    void drainEvents();
    // event: one xcb_generic_event_t (an unnamed struct, so it cannot be declared here)
    void handleEvent(const void* event);
    bool windowManagerActivates();
    bool isActive(const Target& target);
    bool watch(std::uint32_t window);
    void forgetTarget();
    void activate(Target& target);

    std::mutex mMutex;
    std::unique_ptr<xcb_connection_t, Disconnect> mConnection;
    std::unique_ptr<X11Atoms> mAtoms;
    std::uint32_t mRoot = 0;
    std::optional<Target> mTarget;
    bool mSupportedStale = true;
    bool mWindowManagerActivates = false;
    bool mActiveWindowStale = true;
    std::uint32_t mActiveWindow = 0;
};

} // namespace Platform
