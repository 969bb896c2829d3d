// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// Transport key commands: bring GarageBand forward and press the key it answers with.
#include "CBController.h"

#include "NSEvent-PLXKeyCodeAdditions.h"

#include "Platform/Workspace.h"

using namespace Platform;

namespace {

constexpr CGKeyCode kVirtualKeySpace = 49;
constexpr CGKeyCode kVirtualKeyLeftArrow = 123;
constexpr CGKeyCode kVirtualKeyRightArrow = 124;

} // namespace

void CBController::makeGarageBandActive()
{
    mServices.workspace.launchApplication(kGarageBandName);
}

bool CBController::garageBandIsRunning()
{
    const PlistValue name(kGarageBandName);
    for (const auto& application : mServices.workspace.launchedApplications()) {
        auto it = application.find(NSApplicationName);
        if (it != application.end() && it->second == name)
            return true;
    }
    return false;
}

void CBController::postKeyPress(CGCharCode keyChar, CGKeyCode virtualKey)
{
    makeGarageBandActive();
    mServices.keyEvents.CGPostKeyboardEvent(keyChar, virtualKey, true);
    mServices.keyEvents.CGPostKeyboardEvent(keyChar, virtualKey, false);
}

// The key that types a letter depends on the layout, which may change between the two events.
void CBController::postLookedUpKeyPress(CGCharCode keyChar)
{
    auto& layout = mServices.keyboardLayout;
    makeGarageBandActive();
    mServices.keyEvents.CGPostKeyboardEvent(
        keyChar, CGKeyCode(PLXKeyCodeAdditions::keyCodeForAscii(layout, std::int16_t(keyChar))), true);
    mServices.keyEvents.CGPostKeyboardEvent(
        keyChar, CGKeyCode(PLXKeyCodeAdditions::keyCodeForAscii(layout, std::int16_t(keyChar))), false);
}

void CBController::sendZero(const void*) { postLookedUpKeyPress('Z'); }
void CBController::sendRewind(const void*) { postKeyPress(0, kVirtualKeyLeftArrow); }
void CBController::sendStartStop(const void*) { postKeyPress(' ', kVirtualKeySpace); }
void CBController::sendForward(const void*) { postKeyPress(0, kVirtualKeyRightArrow); }
void CBController::sendLoop(const void*) { postLookedUpKeyPress('c'); }
void CBController::sendRecord(const void*) { postLookedUpKeyPress('R'); }
