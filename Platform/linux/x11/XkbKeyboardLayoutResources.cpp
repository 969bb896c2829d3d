// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/XkbKeyboardLayoutResources.h"

#include "ClassicLayoutRecord.h"
#include "Platform/Log.h"

#include <xcb/xcb.h>
// xcb/xkb.h names a field "explicit", which C++ reserves.
#define explicit xcb_explicit
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>

#include <cstdlib>
#include <string>

namespace Platform {

namespace {

// The id reported while there is no keymap to read.
constexpr std::int16_t kNoDisplayId = 1;
constexpr std::uint32_t kMaxGroups = 4;
constexpr std::uint32_t kIdRange = 0x7FFF;

constexpr std::uint16_t kEvents =
    XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY | XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
constexpr std::uint16_t kNewKeyboardDetails =
    XCB_XKB_NKN_DETAIL_KEYCODES | XCB_XKB_NKN_DETAIL_GEOMETRY | XCB_XKB_NKN_DETAIL_DEVICE_ID;
constexpr std::uint16_t kMapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                                    XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                                    XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                                    XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
constexpr std::uint16_t kGroupParts = XCB_XKB_STATE_PART_GROUP_BASE | XCB_XKB_STATE_PART_GROUP_LATCH |
                                      XCB_XKB_STATE_PART_GROUP_LOCK | XCB_XKB_STATE_PART_GROUP_STATE;

// The fields every XKB event starts with.
struct XkbEventHeader {
    std::uint8_t responseType;
    std::uint8_t xkbType;
    std::uint16_t sequence;
    xcb_timestamp_t time;
    std::uint8_t deviceId;
};

std::string displayName()
{
    const char* name = std::getenv("DISPLAY");
    return name ? name : "";
}

} // namespace

void XkbKeyboardLayoutResources::Disconnect::operator()(xcb_connection_t* connection) const
{
    xcb_disconnect(connection);
}
void XkbKeyboardLayoutResources::ContextUnref::operator()(xkb_context* context) const
{
    xkb_context_unref(context);
}
void XkbKeyboardLayoutResources::KeymapUnref::operator()(xkb_keymap* keymap) const
{
    xkb_keymap_unref(keymap);
}

XkbKeyboardLayoutResources::XkbKeyboardLayoutResources()
{
    if (!connect()) {
        mContext.reset();
        mConnection.reset();
    }
}

XkbKeyboardLayoutResources::~XkbKeyboardLayoutResources() = default;

bool XkbKeyboardLayoutResources::connect()
{
    mConnection.reset(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(mConnection.get())) {
        NSLog("cannot open the X display (DISPLAY is '" + displayName() +
              "'); the keyboard layout is unknown and letter keys cannot be looked up");
        return false;
    }
    xcb_connection_t* connection = mConnection.get();
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &mXkbEventBase,
                                     nullptr)) {
        NSLog("the X server has no usable XKB extension; the keyboard layout is unknown");
        return false;
    }
    mDeviceId = xkb_x11_get_core_keyboard_device_id(connection);
    mContext.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (mDeviceId < 0 || !mContext) {
        NSLog("cannot read the core keyboard of the X display; the keyboard layout is unknown");
        return false;
    }
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = kNewKeyboardDetails;
    details.newKeyboardDetails = kNewKeyboardDetails;
    details.affectState = kGroupParts;
    details.stateDetails = kGroupParts;
    const auto cookie = xcb_xkb_select_events_aux_checked(connection, xcb_xkb_device_spec_t(mDeviceId),
                                                          kEvents, 0, 0, kMapParts, kMapParts, &details);
    if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
        std::free(error);
        NSLog("cannot watch the keyboard layout of the X display; it is read once only");
    }
    return true;
}

bool XkbKeyboardLayoutResources::usable()
{
    if (!mConnection)
        return false;
    if (xcb_connection_has_error(mConnection.get())) {
        NSLog("lost the connection to the X display; the keyboard layout is unknown from now on");
        mKeymap.reset();
        mContext.reset();
        mConnection.reset();
        return false;
    }
    return true;
}

void XkbKeyboardLayoutResources::drainEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(mConnection.get())) {
        const auto* header = reinterpret_cast<const XkbEventHeader*>(event);
        if ((event->response_type & 0x7F) == mXkbEventBase && header->deviceId == mDeviceId) {
            switch (header->xkbType) {
            case XCB_XKB_NEW_KEYBOARD_NOTIFY:
                ++mGeneration;
                mGroupStale = true;
                break;
            case XCB_XKB_MAP_NOTIFY:
                ++mGeneration;
                break;
            case XCB_XKB_STATE_NOTIFY:
                mGroup = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event)->group;
                mGroupStale = false;
                break;
            }
        }
        std::free(event);
    }
}

void XkbKeyboardLayoutResources::readGroup()
{
    xcb_connection_t* connection = mConnection.get();
    const auto cookie = xcb_xkb_get_state(connection, xcb_xkb_device_spec_t(mDeviceId));
    if (xcb_xkb_get_state_reply_t* reply = xcb_xkb_get_state_reply(connection, cookie, nullptr)) {
        mGroup = reply->group;
        std::free(reply);
    }
    mGroupStale = false;
}

std::int16_t XkbKeyboardLayoutResources::currentId() const
{
    return std::int16_t(1 + (mGeneration * kMaxGroups + mGroup % kMaxGroups) % kIdRange);
}

long XkbKeyboardLayoutResources::GetScriptVariable(std::int16_t script, std::int16_t selector)
{
    if (script != smCurrentScript || selector != smScriptKeys) {
        NSLog("GetScriptVariable(" + std::to_string(script) + ", " + std::to_string(selector) +
              ") is not supported; only the current keyboard layout id is");
        return 0;
    }
    std::lock_guard lock(mMutex);
    if (!usable())
        return kNoDisplayId;
    drainEvents();
    if (mGroupStale)
        readGroup();
    return currentId();
}

std::optional<std::vector<std::uint8_t>> XkbKeyboardLayoutResources::GetResource(std::uint32_t type,
                                                                                 std::int16_t id)
{
    if (type != kKCHRResourceType) {
        NSLog("GetResource: only 'KCHR' keyboard layout resources exist here");
        return std::nullopt;
    }
    std::lock_guard lock(mMutex);
    if (!usable())
        return std::nullopt;
    drainEvents();
    if (mGroupStale)
        readGroup();
    if (id != currentId()) {
        NSLog("GetResource: no 'KCHR' resource " + std::to_string(id) + "; the current keyboard layout is " +
              std::to_string(currentId()));
        return std::nullopt;
    }
    if (!mKeymap || mKeymapGeneration != mGeneration) {
        mKeymap.reset(xkb_x11_keymap_new_from_device(mContext.get(), mConnection.get(), mDeviceId,
                                                     XKB_KEYMAP_COMPILE_NO_FLAGS));
        if (!mKeymap) {
            NSLog("cannot read the keyboard map of the X display");
            return std::nullopt;
        }
        mKeymapGeneration = mGeneration;
    }
    return classicLayoutRecord(mKeymap.get(), mGroup);
}

} // namespace Platform
