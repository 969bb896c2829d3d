// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/MIDI.h"

#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>

namespace Platform {

// Reports kMIDIMsgSetupChanged to the client's notify proc on the main thread. Backends wake it
// from any thread when ports come, go or change names; a burst of wakes within a few milliseconds
// makes one notification. Wakes never come from connections, which the client itself makes in
// answer to a notification. Created and destroyed on the main thread, after the last wake.
class SetupChangeNotifier {
public:
    SetupChangeNotifier(MIDINotifyProc notifyProc, void* notifyRefCon);
    ~SetupChangeNotifier();
    SetupChangeNotifier(const SetupChangeNotifier&) = delete;
    SetupChangeNotifier& operator=(const SetupChangeNotifier&) = delete;

    void wake();

private:
    void notify();

    MIDINotifyProc mNotifyProc;
    void* mNotifyRefCon;
    std::atomic<bool> mWakePosted{false};
    std::unique_ptr<QObject> mMainThreadContext;
    QTimer* mSettleTimer; // owned by mMainThreadContext
};

} // namespace Platform
