// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "X11WindowSearch.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string_view>

namespace Platform {

namespace {

// Longer lists than this are not read (a client list of 4096 windows is already absurd).
constexpr std::uint32_t kMaxValues = 4096;

struct Candidate {
    xcb_window_t window = XCB_WINDOW_NONE;
    std::optional<pid_t> pid;
    bool viewable = false;
    bool overrideRedirect = false;
    bool hasWmState = false;
};

std::vector<xcb_window_t> children(xcb_connection_t* connection, xcb_window_t window)
{
    const auto tree = takeReply(xcb_query_tree_reply, connection, xcb_query_tree(connection, window));
    if (!tree)
        return {};
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return {first, first + xcb_query_tree_children_length(tree.get())};
}

// Describes all windows with one batch of requests, bottom of the stack first like the input.
std::vector<Candidate> describe(xcb_connection_t* connection, const X11Atoms& atoms,
                                const std::vector<xcb_window_t>& windows)
{
    struct Cookies {
        xcb_get_window_attributes_cookie_t attributes;
        xcb_get_property_cookie_t pid;
        xcb_get_property_cookie_t wmState;
    };
    std::vector<Cookies> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t window : windows)
        cookies.push_back(
            {xcb_get_window_attributes(connection, window),
             xcb_get_property(connection, 0, window, atoms.netWmPid, XCB_ATOM_CARDINAL, 0, 1),
             xcb_get_property(connection, 0, window, atoms.wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0)});

    std::vector<Candidate> candidates;
    candidates.reserve(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        Candidate candidate;
        candidate.window = windows[i];
        const auto attributes = takeReply(xcb_get_window_attributes_reply, connection, cookies[i].attributes);
        const auto pid = takeReply(xcb_get_property_reply, connection, cookies[i].pid);
        const auto wmState = takeReply(xcb_get_property_reply, connection, cookies[i].wmState);
        if (!attributes) // destroyed meanwhile
            continue;
        candidate.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        candidate.overrideRedirect = attributes->override_redirect;
        candidate.hasWmState = wmState && wmState->type != XCB_ATOM_NONE;
        if (pid && pid->format == 32 && xcb_get_property_value_length(pid.get()) == 4) {
            std::uint32_t value;
            std::memcpy(&value, xcb_get_property_value(pid.get()), sizeof value);
            candidate.pid = pid_t(value);
        }
        candidates.push_back(candidate);
    }
    return candidates;
}

std::optional<xcb_window_t> searchClientList(xcb_connection_t* connection, const X11Atoms& atoms,
                                             const std::vector<xcb_window_t>& clients, pid_t pid)
{
    for (const Candidate& client : describe(connection, atoms, clients))
        if (client.pid == pid)
            return client.window;
    return std::nullopt;
}

std::optional<xcb_window_t> searchTree(xcb_connection_t* connection, xcb_window_t root, const X11Atoms& atoms,
                                       pid_t pid)
{
    const std::vector<Candidate> tops = describe(connection, atoms, children(connection, root));
    std::vector<xcb_window_t> frames;
    for (auto top = tops.rbegin(); top != tops.rend(); ++top) {
        if (!top->viewable || top->overrideRedirect)
            continue;
        if (top->pid == pid)
            return top->window;
        if (!top->pid)
            frames.push_back(top->window);
    }
    // A window manager without a client list reparents clients into frames that carry no pid.
    for (xcb_window_t frame : frames) {
        const std::vector<Candidate> inner = describe(connection, atoms, children(connection, frame));
        for (auto client = inner.rbegin(); client != inner.rend(); ++client)
            if (client->pid == pid && !client->overrideRedirect && (client->hasWmState || client->viewable))
                return client->window;
    }
    return std::nullopt;
}

} // namespace

X11Atoms X11Atoms::intern(xcb_connection_t* connection)
{
    constexpr std::string_view names[] = {"_NET_CLIENT_LIST", "_NET_WM_PID", "_NET_SUPPORTED",
                                          "_NET_ACTIVE_WINDOW", "WM_STATE"};
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i)
        cookies[i] = xcb_intern_atom(connection, 0, std::uint16_t(names[i].size()), names[i].data());
    xcb_atom_t values[std::size(names)] = {};
    for (std::size_t i = 0; i < std::size(names); ++i)
        if (const auto reply = takeReply(xcb_intern_atom_reply, connection, cookies[i]))
            values[i] = reply->atom;
    return {values[0], values[1], values[2], values[3], values[4]};
}

std::optional<std::vector<std::uint32_t>> readProperty32(xcb_connection_t* connection, xcb_window_t window,
                                                         xcb_atom_t property, xcb_atom_t type)
{
    const auto reply = takeReply(xcb_get_property_reply, connection,
                                 xcb_get_property(connection, 0, window, property, type, 0, kMaxValues));
    if (!reply || reply->type != type || reply->format != 32)
        return std::nullopt;
    const auto* first = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<std::uint32_t>(first, first + xcb_get_property_value_length(reply.get()) / 4);
}

std::optional<xcb_window_t> findWindowOfProcess(xcb_connection_t* connection, xcb_window_t root,
                                                const X11Atoms& atoms, pid_t pid)
{
    if (const auto clients = readProperty32(connection, root, atoms.netClientList, XCB_ATOM_WINDOW))
        return searchClientList(connection, atoms, *clients, pid);
    return searchTree(connection, root, atoms, pid);
}

} // namespace Platform
