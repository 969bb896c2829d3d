// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/KeyEvents.h"

#include <mutex>
#include <vector>

namespace Doubles {

struct PostedKeyEvent {
    Platform::CGCharCode keyChar;
    Platform::CGKeyCode virtualKey;
    bool keyDown;
    bool operator==(const PostedKeyEvent&) const = default;
};

class RecordingKeyEventPoster : public Platform::KeyEventPoster {
public:
    Platform::CGError CGPostKeyboardEvent(Platform::CGCharCode keyChar, Platform::CGKeyCode virtualKey,
                                          bool keyDown) override
    {
        std::lock_guard lock(mMutex);
        mEvents.push_back({keyChar, virtualKey, keyDown});
        return Platform::kCGErrorSuccess;
    }
    std::vector<PostedKeyEvent> events() const
    {
        std::lock_guard lock(mMutex);
        return mEvents;
    }
    void clear()
    {
        std::lock_guard lock(mMutex);
        mEvents.clear();
    }

private:
    mutable std::mutex mMutex;
    std::vector<PostedKeyEvent> mEvents;
};

} // namespace Doubles
