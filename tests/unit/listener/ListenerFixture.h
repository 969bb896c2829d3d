// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "TemporaryDirectory.h"

#include "CBController.h"

#include "CapturingLog.h"
#include "FakeApplication.h"
#include "FakeKeyboardLayout.h"
#include "FakeMIDIServices.h"
#include "FakeWorkspace.h"
#include "MemoryPreferenceStore.h"
#include "RecordingKeyEventPoster.h"

#include "Platform/LocalNotificationCenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using TempDir = TestSupport::TemporaryDirectory;

// Writes dir/Contents/Info.plist holding the given entries.
void writeInfoPlist(const fs::path& bundleDir, const Platform::PlistDictionary& info);
fs::path makeBundle(const fs::path& bundleDir, const std::optional<std::string>& identifier,
                    const std::string& version = "1.0");

inline const std::string kListenerID = "com.plexwerk.cueboltlistener";

// A controller on doubles, its listener bundle inside a pane bundle unless the test places it.
class ListenerTest : public ::testing::Test {
protected:
    ListenerTest();
    ~ListenerTest() override;

    // The listener bundle inside <tmp>/Cuebolt.prefPane (identifier "com.example.testpane").
    fs::path installInsidePane();
    std::unique_ptr<CBController> makeController(const fs::path& listenerBundle);
    std::unique_ptr<CBController> makeController() { return makeController(installInsidePane()); }
    // A controller whose notifications are registered and MIDI set up, GarageBand running.
    std::unique_ptr<CBController> makeAwakeController();

    // Every notification posted on the distributed centre, in order.
    std::vector<Platform::Notification> posted() const { return *mPosted; }
    void storeMappings(const Platform::PlistValue& mappings);

    TempDir mTemp;
    Doubles::CapturingLog mLog;
    Doubles::FakeApplication mApplication;
    Doubles::MemoryPreferenceStore mPreferences;
    Platform::LocalNotificationCenter mDistributed;
    Doubles::FakeWorkspace mWorkspace;
    Doubles::FakeMIDIServices mMIDI;
    Doubles::RecordingKeyEventPoster mKeys;
    Doubles::FakeKeyboardLayout mLayout;
    std::shared_ptr<std::vector<Platform::Notification>> mPosted = std::make_shared<std::vector<Platform::Notification>>();
};

Platform::PlistDictionary mappingRecord(const std::string& function, Platform::PlistData sysex);

// Layout id 1: a US-like layout with z/Z at key 6, c/C at 8, r/R at 15.
void addUSLayout(Doubles::FakeKeyboardLayout& layout, std::int16_t id = 1);
