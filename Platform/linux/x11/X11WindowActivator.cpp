// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/X11WindowActivator.h"

#include "Platform/Log.h"
#include "X11WindowSearch.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace Platform {

namespace {

// Tells the window manager the request comes from a pager-like tool acting for the user, which
// window managers honour even under focus-stealing prevention.
constexpr std::uint32_t kSourceIndicationPager = 2;

constexpr std::uint32_t kTargetEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE;

std::string displayName()
{
    const char* name = std::getenv("DISPLAY");
    return name ? name : "";
}

// Whether a focus event on a window says the keyboard focus is now inside it (true), outside it
// (false) or neither (none: pointer-root bookkeeping, or a move between the window and a child).
std::optional<bool> focusInside(std::uint8_t type, std::uint8_t detail)
{
    if (detail == XCB_NOTIFY_DETAIL_POINTER || detail == XCB_NOTIFY_DETAIL_POINTER_ROOT ||
        detail == XCB_NOTIFY_DETAIL_NONE)
        return std::nullopt;
    if (type == XCB_FOCUS_IN)
        return true;
    if (detail == XCB_NOTIFY_DETAIL_INFERIOR)
        return std::nullopt;
    return false;
}

} // namespace

void X11WindowActivator::Disconnect::operator()(xcb_connection_t* connection) const
{
    xcb_disconnect(connection);
}

X11WindowActivator::X11WindowActivator()
{
    int screenNumber = 0;
    mConnection.reset(xcb_connect(nullptr, &screenNumber));
    if (xcb_connection_has_error(mConnection.get())) {
        NSLog("cannot open the X display (DISPLAY is '" + displayName() +
              "'); windows will not be activated");
        mConnection.reset();
        return;
    }
    xcb_connection_t* connection = mConnection.get();
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    mRoot = screens.data->root;
    mAtoms = std::make_unique<X11Atoms>(X11Atoms::intern(connection));
    // The window manager announces what it supports, and the active window, on the root.
    const std::uint32_t rootEvents = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, mRoot, XCB_CW_EVENT_MASK, &rootEvents);
    xcb_flush(connection);
}

X11WindowActivator::~X11WindowActivator() = default;

bool X11WindowActivator::activateWindowOfProcess(pid_t pid)
{
    std::lock_guard lock(mMutex);
    if (!usable())
        return false;
    drainEvents();
    if (mTarget && mTarget->pid == pid) {
        if (isActive(*mTarget))
            return true;
    } else {
        forgetTarget();
        const auto window = findWindowOfProcess(mConnection.get(), mRoot, *mAtoms, pid);
        if (!window || !watch(*window)) {
            NSLog("process " + std::to_string(pid) + " has no visible top-level window to activate");
            return false;
        }
        mTarget = Target{pid, *window, false};
    }
    activate(*mTarget);
    return true;
}

bool X11WindowActivator::usable()
{
    if (!mConnection)
        return false;
    if (xcb_connection_has_error(mConnection.get())) {
        NSLog("lost the connection to the X display; windows will not be activated from now on");
        mTarget.reset();
        mConnection.reset();
        return false;
    }
    return true;
}

void X11WindowActivator::drainEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(mConnection.get())) {
        handleEvent(event);
        std::free(event);
    }
}

void X11WindowActivator::handleEvent(const void* raw)
{
    const auto& event = *static_cast<const xcb_generic_event_t*>(raw);
    switch (event.response_type & 0x7F) {
    case 0: {
        const auto& error = reinterpret_cast<const xcb_generic_error_t&>(event);
        NSLog("an X request about window " + std::to_string(error.resource_id) + " failed (error " +
              std::to_string(error.error_code) + ", request " + std::to_string(error.major_code) + ")");
        break;
    }
    case XCB_DESTROY_NOTIFY:
        if (mTarget && reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window == mTarget->window)
            mTarget.reset();
        break;
    case XCB_UNMAP_NOTIFY:
        // A window manager unmaps iconified windows and maps them again on activation.
        if (mTarget && reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window == mTarget->window &&
            !mWindowManagerActivates)
            forgetTarget();
        break;
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT: {
        const auto& focus = reinterpret_cast<const xcb_focus_in_event_t&>(event);
        if (mTarget && focus.event == mTarget->window)
            if (const auto inside = focusInside(event.response_type & 0x7F, focus.detail))
                mTarget->focused = *inside;
        break;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto& property = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (property.window != mRoot)
            break;
        if (property.atom == mAtoms->netActiveWindow)
            mActiveWindowStale = true;
        else if (property.atom == mAtoms->netSupported)
            mSupportedStale = true;
        break;
    }
    }
}

bool X11WindowActivator::windowManagerActivates()
{
    if (mSupportedStale) {
        const auto supported = readProperty32(mConnection.get(), mRoot, mAtoms->netSupported, XCB_ATOM_ATOM);
        mWindowManagerActivates = supported && std::find(supported->begin(), supported->end(),
                                                         mAtoms->netActiveWindow) != supported->end();
        mSupportedStale = false;
    }
    return mWindowManagerActivates;
}

bool X11WindowActivator::isActive(const Target& target)
{
    if (!windowManagerActivates())
        return target.focused;
    if (mActiveWindowStale) {
        const auto active =
            readProperty32(mConnection.get(), mRoot, mAtoms->netActiveWindow, XCB_ATOM_WINDOW);
        mActiveWindow = active && !active->empty() ? active->front() : std::uint32_t(XCB_WINDOW_NONE);
        mActiveWindowStale = false;
    }
    return mActiveWindow == target.window;
}

// Selects the window's events first, then checks it: whatever happens to it afterwards is reported.
bool X11WindowActivator::watch(std::uint32_t window)
{
    xcb_connection_t* connection = mConnection.get();
    const auto select =
        xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &kTargetEvents);
    const auto attributes =
        takeReply(xcb_get_window_attributes_reply, connection, xcb_get_window_attributes(connection, window));
    xcb_generic_error_t* selectError = xcb_request_check(connection, select);
    const bool selected = !selectError;
    std::free(selectError);
    if (!selected || !attributes)
        return false;
    return attributes->map_state == XCB_MAP_STATE_VIEWABLE || windowManagerActivates();
}

void X11WindowActivator::forgetTarget()
{
    if (!mTarget)
        return;
    const std::uint32_t noEvents = 0;
    xcb_change_window_attributes(mConnection.get(), mTarget->window, XCB_CW_EVENT_MASK, &noEvents);
    mTarget.reset();
}

void X11WindowActivator::activate(Target& target)
{
    xcb_connection_t* connection = mConnection.get();
    if (windowManagerActivates()) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = target.window;
        message.type = mAtoms->netActiveWindow;
        message.data.data32[0] = kSourceIndicationPager;
        message.data.data32[1] = XCB_CURRENT_TIME;
        message.data.data32[2] = mActiveWindow;
        xcb_send_event(connection, 0, mRoot,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    } else {
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(connection, target.window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, target.window, XCB_CURRENT_TIME);
        // The server gives the focus at once; a FocusOut reports when someone takes it away.
        target.focused = true;
    }
    xcb_flush(connection);
}

} // namespace Platform
