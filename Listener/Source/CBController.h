// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "ListenerServices.h"

#include "Platform/Application.h"
#include "Platform/MIDI.h"
#include "Platform/NotificationCenter.h"
#include "Platform/PropertyList.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The listener's whole state: MIDI input, the loaded mappings, whether GarageBand runs, and the
// two bundle identifiers that address the notifications exchanged with the pane. One per process.
class CBController : public Platform::ApplicationDelegate {
public:
    using MappingList = std::shared_ptr<const Platform::PlistArray>;

    static constexpr const char* kFallbackPrefPaneBundleID = "com.plexwerk.cueboltprefpane";
    static constexpr const char* kSingleInstanceMessage = "only one instannce of CBController is allowed";
    static constexpr const char* kGarageBandName = "GarageBand";
    static constexpr const char* kGarageBandBundleID = "com.apple.garageband";

    // Raises NSException when a controller already lives in this process.
    explicit CBController(ListenerServices services);
    ~CBController() override;
    CBController(const CBController&) = delete;
    CBController& operator=(const CBController&) = delete;

    void awakeFromNib();

    // Application delegate.
    void applicationDidFinishLaunching() override;
    void applicationWillTerminate() override;

    // Where the listener sits inside the pane bundle.
    std::optional<std::string> pathToPrefsPane() const;
    std::optional<std::string> bundleIdentifierOfPrefsPane() const;

    // GarageBand tracking (workspace notifications).
    void handleApplicationWillLaunchNotification(const Platform::Notification& notification);
    void handleApplicationDidTerminateNotification(const Platform::Notification& notification);

    // MIDI input and dispatch.
    Platform::OSStatus MIDISetup();
    void MIDITearDown();
    void MIDIConnectToSources();
    void MIDIDisconnectFromSources();
    void MIDIUpdateConnections();
    void midiReadProcWithPacketList(const Platform::MIDIPacketList* packetList, void* refCon, void* connRefCon);

    // Transport key commands.
    void makeGarageBandActive();
    bool garageBandIsRunning();
    void sendZero(const void* sender);
    void sendRewind(const void* sender);
    void sendStartStop(const void* sender);
    void sendForward(const void* sender);
    void sendLoop(const void* sender);
    void sendRecord(const void* sender);

    // Mapping preferences.
    std::optional<Platform::PlistValue> prefsGetMappingsArray();
    void prefsSetMappingsArray(const Platform::PlistArray& mappings);
    void restoreDefaultMappings(const void* sender);
    void loadFromPrefs();

    // Inter-process notifications.
    void registerForNotifications();
    void unregisterForNotifications();
    void broadcastListenerStarted();
    void broadcastListenerQuitting();
    void prefsChanged(const Platform::Notification& notification);
    void quitRequest(const Platform::Notification& notification);
    void handleVersionRequest(const Platform::Notification& notification);

    // Read-only views for callers and tests.
    MappingList mappings() const;
    bool garageBandRunningFlag() const { return mGarageBandIsRunning.load(std::memory_order_relaxed); }
    bool autoUpdateCheckFlag() const { return mAutoUpdateCheck.load(); }
    const std::optional<std::string>& listenerBundleID() const { return mListenerBundleID; }
    const std::optional<std::string>& prefPaneBundleID() const { return mPrefPaneBundleID; }
    const std::vector<Platform::MIDIEndpointRef>& connectedSources() const { return mMIDISources; }

    static CBController* liveInstance() { return sCBController.load(); }

private:
    // The update schedule is started here once launching has finished.
    void startAutoUpdateSchedule();
    void postToPane(const std::string& name, const std::optional<Platform::PlistDictionary>& userInfo);
    void postKeyPress(Platform::CGCharCode keyChar, Platform::CGKeyCode virtualKey);
    void postLookedUpKeyPress(Platform::CGCharCode keyChar);
    void replaceMappings(MappingList mappings);

    ListenerServices mServices;
    MappingList mMappingsArray;
    mutable std::mutex mMappingsMutex; // held only to swap or take the list, never during a walk
    std::vector<Platform::MIDIEndpointRef> mMIDISources;
    Platform::MIDIClientRef mMIDIClient = 0;
    Platform::MIDIPortRef mMIDIInPort = 0;
    Platform::MIDIEndpointRef mMIDIVirtualSource = 0;
    std::optional<std::string> mListenerBundleID;
    std::optional<std::string> mPrefPaneBundleID;
    std::atomic<bool> mGarageBandIsRunning = false;
    std::atomic<bool> mAutoUpdateCheck = false;

    static std::atomic<CBController*> sCBController;
};

// The plain callbacks handed to the MIDI services; they reach the live controller.
void readProc(const Platform::MIDIPacketList* packetList, void* readProcRefCon, void* srcConnRefCon);
void midiNotifyProc(const Platform::MIDINotification* message, void* refCon);
