// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <type_traits>
#include <vector>

namespace Platform {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;

// The reply to a request; an error (a window destroyed meanwhile) gives none and is not queued
// as an event.
template <class ReplyFunction, class Cookie>
auto takeReply(ReplyFunction replyFunction, xcb_connection_t* connection, Cookie cookie)
{
    xcb_generic_error_t* error = nullptr;
    Reply<std::remove_pointer_t<decltype(replyFunction(connection, cookie, &error))>> reply(
        replyFunction(connection, cookie, &error));
    std::free(error);
    return reply;
}

struct X11Atoms {
    xcb_atom_t netClientList = XCB_ATOM_NONE;
    xcb_atom_t netWmPid = XCB_ATOM_NONE;
    xcb_atom_t netSupported = XCB_ATOM_NONE;
    xcb_atom_t netActiveWindow = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;

    static X11Atoms intern(xcb_connection_t* connection);
};

// The 32-bit values of a window property of the given type; none when the property is absent.
std::optional<std::vector<std::uint32_t>> readProperty32(xcb_connection_t* connection, xcb_window_t window,
                                                         xcb_atom_t property, xcb_atom_t type);

// The process's managed top-level window: from the window manager's client list when there is one,
// otherwise the viewable top-level windows and the client windows inside frames. Requests are
// pipelined, so the cost is a few round trips whatever the number of windows.
std::optional<xcb_window_t> findWindowOfProcess(xcb_connection_t* connection, xcb_window_t root,
                                                const X11Atoms& atoms, pid_t pid);

} // namespace Platform
