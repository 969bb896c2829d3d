// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "MainInterface.h"

#include "Platform/Application.h"
#include "Platform/Bundle.h"
#include "Platform/Linux/DBusNotificationCenter.h"
#include "Platform/Linux/FilePreferenceStore.h"
#include "Platform/Linux/LinuxWorkspace.h"
#include "Platform/Linux/PosixLaunchServices.h"
#include "Platform/Linux/ProcFsProcessList.h"
#include "Platform/Linux/X11WindowActivator.h"
#include "Platform/Linux/XTestKeyEventPoster.h"
#include "Platform/Linux/XkbKeyboardLayoutResources.h"
#include "Platform/MIDI.h"

namespace {

// The real services the listener runs on, alive as long as the interface objects.
class ListenerInterface : public Platform::InterfaceObjects {
public:
    explicit ListenerInterface(Platform::Application& application)
        : mWorkspace(mProcesses, mLaunchServices, mActivator), mMIDI(Platform::openMIDIServices()),
          mController(loadMainInterface(ListenerServices{
              application, mPreferences, mNotifications, mWorkspace, *mMIDI, mKeyEvents, mKeyboardLayout,
              Platform::Bundle::bundleContainingAddress(reinterpret_cast<const void*>(&loadMainInterface))}))
    {
    }
    ~ListenerInterface() override { mController.reset(); } // the controller goes before its services

private:
    Platform::FilePreferenceStore mPreferences;
    Platform::DBusNotificationCenter mNotifications;
    Platform::ProcFsProcessList mProcesses;
    Platform::PosixLaunchServices mLaunchServices;
    Platform::X11WindowActivator mActivator;
    Platform::LinuxWorkspace mWorkspace;
    std::unique_ptr<Platform::MIDIServices> mMIDI;
    Platform::XTestKeyEventPoster mKeyEvents;
    Platform::XkbKeyboardLayoutResources mKeyboardLayout;
    std::unique_ptr<CBController> mController;
};

} // namespace

int main(int argc, char** argv)
{
    return Platform::NSApplicationMain(argc, argv, [](Platform::Application& application) {
        return std::make_unique<ListenerInterface>(application);
    });
}
