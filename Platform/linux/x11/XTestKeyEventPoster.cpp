// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "Platform/Linux/XTestKeyEventPoster.h"

#include "Platform/Log.h"
#include "VirtualKeyCodes.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <string>

namespace Platform {

void XTestKeyEventPoster::DisplayCloser::operator()(_XDisplay* display) const
{
    XCloseDisplay(display);
}

XTestKeyEventPoster::XTestKeyEventPoster() : mDisplay(XOpenDisplay(nullptr))
{
    if (!mDisplay) {
        NSLog("cannot open the X display (DISPLAY is '" + std::string(XDisplayName(nullptr)) +
              "'); key events will not be posted");
        return;
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(mDisplay.get(), &eventBase, &errorBase, &major, &minor)) {
        NSLog("the X server has no XTest extension; key events will not be posted");
        mDisplay.reset();
    }
}

XTestKeyEventPoster::~XTestKeyEventPoster() = default;

CGError XTestKeyEventPoster::CGPostKeyboardEvent(CGCharCode, CGKeyCode virtualKey, bool keyDown)
{
    const auto keyCode = VirtualKeyCodes::xKeyCode(virtualKey);
    if (!keyCode) {
        char text[96];
        std::snprintf(text, sizeof text, "cannot post virtual key code 0x%04X: no X key corresponds to it",
                      unsigned(virtualKey));
        NSLog(text);
        return kCGErrorFailure;
    }
    std::lock_guard lock(mMutex);
    if (!mDisplay)
        return kCGErrorFailure;
    // XFlush only writes the request; a round trip here would delay every key.
    if (!XTestFakeKeyEvent(mDisplay.get(), *keyCode, keyDown ? True : False, CurrentTime))
        return kCGErrorFailure;
    XFlush(mDisplay.get());
    return kCGErrorSuccess;
}

} // namespace Platform
