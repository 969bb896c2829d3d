// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "common/SetupChangeNotifier.h"

#include "Platform/Log.h"

#include <QCoreApplication>

namespace Platform {
namespace {

// Long enough to gather the registrations of a device's ports, short enough to go unnoticed.
constexpr int settleMilliseconds = 10;

} // namespace

SetupChangeNotifier::SetupChangeNotifier(MIDINotifyProc notifyProc, void* notifyRefCon)
    : mNotifyProc(notifyProc), mNotifyRefCon(notifyRefCon), mMainThreadContext(std::make_unique<QObject>()),
      mSettleTimer(new QTimer(mMainThreadContext.get()))
{
    if (QCoreApplication::instance() == nullptr)
        NSLog("no QCoreApplication exists, so MIDI setup changes cannot be reported; create one before the "
              "MIDI "
              "client");
    mSettleTimer->setSingleShot(true);
    mSettleTimer->setInterval(settleMilliseconds);
    QObject::connect(mSettleTimer, &QTimer::timeout, mMainThreadContext.get(), [this] { notify(); });
}

SetupChangeNotifier::~SetupChangeNotifier() = default;

void SetupChangeNotifier::wake()
{
    if (mWakePosted.exchange(true))
        return;
    QMetaObject::invokeMethod(
        mMainThreadContext.get(),
        [this] {
            mWakePosted = false;
            mSettleTimer->start();
        },
        Qt::QueuedConnection);
}

void SetupChangeNotifier::notify()
{
    if (mNotifyProc == nullptr)
        return;
    const MIDINotification message{kMIDIMsgSetupChanged, sizeof(MIDINotification)};
    // Last statement: the proc may dispose of the client and with it this object.
    mNotifyProc(&message, mNotifyRefCon);
}

} // namespace Platform
