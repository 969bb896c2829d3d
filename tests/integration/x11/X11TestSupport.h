// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "PrivateServers.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace X11Test {

// Polls `condition` until it holds or the deadline passes.
inline bool waitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs a program to its end; true when it exited with status 0.
inline bool runProgram(const std::vector<std::string>& argv)
{
    TestSupport::ChildProcess child(argv);
    int status = -1;
    return child.waitForExit(10000, &status) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The test's own connection to $DISPLAY, for looking at what the code under test did.
class Connection {
public:
    Connection() : mConnection(xcb_connect(nullptr, nullptr))
    {
        mRoot = xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data->root;
    }
    ~Connection() { xcb_disconnect(mConnection); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    xcb_connection_t* get() const { return mConnection; }
    xcb_window_t root() const { return mRoot; }

    xcb_atom_t atom(const std::string& name) const
    {
        auto* reply = xcb_intern_atom_reply(
            mConnection, xcb_intern_atom(mConnection, 0, std::uint16_t(name.size()), name.c_str()), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    std::optional<std::uint32_t> property32(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const
    {
        auto* reply = xcb_get_property_reply(
            mConnection, xcb_get_property(mConnection, 0, window, property, type, 0, 1), nullptr);
        std::optional<std::uint32_t> value;
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
            value = *static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return value;
    }

    void setProperty32(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                       const std::vector<std::uint32_t>& values) const
    {
        xcb_change_property(mConnection, XCB_PROP_MODE_REPLACE, window, property, type, 32,
                            std::uint32_t(values.size()), values.data());
        sync();
    }

    xcb_window_t focusWindow() const
    {
        auto* reply = xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr);
        const xcb_window_t window = reply ? reply->focus : xcb_window_t(XCB_WINDOW_NONE);
        std::free(reply);
        return window;
    }

    // The _NET_WM_PID of the window holding the input focus.
    std::optional<pid_t> focusedPid() const
    {
        const auto pid = property32(focusWindow(), atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
        return pid ? std::optional<pid_t>(pid_t(*pid)) : std::nullopt;
    }

    // The top-level window whose _NET_WM_PID is pid.
    xcb_window_t windowOf(pid_t pid) const
    {
        auto* tree = xcb_query_tree_reply(mConnection, xcb_query_tree(mConnection, mRoot), nullptr);
        xcb_window_t found = XCB_WINDOW_NONE;
        const xcb_atom_t pidAtom = atom("_NET_WM_PID");
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree); ++i) {
            const xcb_window_t child = xcb_query_tree_children(tree)[i];
            if (property32(child, pidAtom, XCB_ATOM_CARDINAL) == std::uint32_t(pid))
                found = child;
        }
        std::free(tree);
        return found;
    }

    void sync() const
    {
        std::free(xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
    }

private:
    xcb_connection_t* mConnection;
    xcb_window_t mRoot = XCB_WINDOW_NONE;
};

} // namespace X11Test
