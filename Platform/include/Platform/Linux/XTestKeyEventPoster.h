// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/KeyEvents.h"

#include <memory>
#include <mutex>

struct _XDisplay;

namespace Platform {

// Posts key events with the XTest extension on a private connection to $DISPLAY; the focused
// window receives them. Without a display every post fails.
class XTestKeyEventPoster final : public KeyEventPoster {
public:
    XTestKeyEventPoster();
    ~XTestKeyEventPoster() override;

    CGError CGPostKeyboardEvent(CGCharCode keyChar, CGKeyCode virtualKey, bool keyDown) override;

private:
    struct DisplayCloser {
        void operator()(_XDisplay* display) const;
    };

    std::mutex mMutex;
    std::unique_ptr<_XDisplay, DisplayCloser> mDisplay;
};

} // namespace Platform
