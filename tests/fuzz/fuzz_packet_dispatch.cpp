// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
// Any bytes as a delivered packet list, walked and matched against the default mappings.
#include "CBController.h"

#include "CapturingLog.h"
#include "FakeApplication.h"
#include "FakeKeyboardLayout.h"
#include "FakeMIDIServices.h"
#include "FakeWorkspace.h"
#include "MemoryPreferenceStore.h"
#include "RecordingKeyEventPoster.h"

#include "Platform/LocalNotificationCenter.h"

#include <cstdlib>

namespace {

struct Listener {
    Listener()
    {
        workspace.launch("GarageBand", "com.apple.garageband");
        controller = std::make_unique<CBController>(ListenerServices{
            application, preferences, distributed, workspace, midi, keys, layout,
            std::make_shared<Platform::Bundle>("/nonexistent/CueboltListener.app")});
    }
    Doubles::CapturingLog log;
    Doubles::FakeApplication application;
    Doubles::MemoryPreferenceStore preferences;
    Platform::LocalNotificationCenter distributed;
    Doubles::FakeWorkspace workspace;
    Doubles::FakeMIDIServices midi;
    Doubles::RecordingKeyEventPoster keys;
    Doubles::FakeKeyboardLayout layout;
    std::unique_ptr<CBController> controller;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Listener listener;
    listener.keys.clear();
    const Platform::MIDIPacketList list(std::vector<std::uint8_t>(data, data + size));
    listener.controller->midiReadProcWithPacketList(&list, nullptr, nullptr);
    // Each packet presses at most one key: down and up.
    if (listener.keys.events().size() % 2 != 0)
        std::abort();
    return 0;
}
