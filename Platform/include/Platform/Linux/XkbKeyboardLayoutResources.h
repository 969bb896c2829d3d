// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/KeyboardLayout.h"

#include <cstdint>
#include <memory>
#include <mutex>

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;

namespace Platform {

// The live XKB keymap of the core keyboard on $DISPLAY as classic layout resources. The layout id
// follows the server's keymap and group notifications, read without blocking on each query.
class XkbKeyboardLayoutResources final : public KeyboardLayoutResources {
public:
    XkbKeyboardLayoutResources();
    ~XkbKeyboardLayoutResources() override;

    long GetScriptVariable(std::int16_t script, std::int16_t selector) override;
    std::optional<std::vector<std::uint8_t>> GetResource(std::uint32_t type, std::int16_t id) override;

private:
    struct Disconnect {
        void operator()(xcb_connection_t* connection) const;
    };
    struct ContextUnref {
        void operator()(xkb_context* context) const;
    };
    struct KeymapUnref {
        void operator()(xkb_keymap* keymap) const;
    };

    bool connect();
    bool usable();
    void drainEvents();
    void readGroup();
    std::int16_t currentId() const;

    std::mutex mMutex;
    std::unique_ptr<xcb_connection_t, Disconnect> mConnection;
    std::unique_ptr<xkb_context, ContextUnref> mContext;
    std::unique_ptr<xkb_keymap, KeymapUnref> mKeymap;
    std::int32_t mDeviceId = -1;
    std::uint8_t mXkbEventBase = 0;
    std::uint32_t mGeneration = 0;
    std::uint32_t mKeymapGeneration = 0;
    std::uint32_t mGroup = 0;
    bool mGroupStale = true;
};

} // namespace Platform
