// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/KeyEvents.h"
#include "Platform/KeyboardLayout.h"
#include "Platform/MIDI.h"
#include "Platform/NotificationCenter.h"
#include "Platform/Preferences.h"
#include "Platform/Workspace.h"

#include <memory>

// The platform services the listener works with, handed to the controller by its interface file.
struct ListenerServices {
    Platform::Application& application;
    Platform::PreferenceStore& preferences;
    Platform::NotificationCenter& distributedCenter;
    Platform::Workspace& workspace;
    Platform::MIDIServices& midi;
    Platform::KeyEventPoster& keyEvents;
    Platform::KeyboardLayoutResources& keyboardLayout;
    // The bundle that holds the controller's code: the listener application.
    std::shared_ptr<Platform::Bundle> listenerBundle;
};
