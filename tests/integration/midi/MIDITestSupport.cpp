// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "MIDITestSupport.h"

#include <QCoreApplication>
#include <algorithm>

namespace MIDITest {

void ensureCoreApplication()
{
    static int argc = 1;
    static char name[] = "MIDIIntegrationTests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv); // lives as long as the program
}

bool pollUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents();
        if (condition())
            return true;
        std::this_thread::sleep_for(1ms);
    }
    QCoreApplication::processEvents();
    return condition();
}

void LogCapture::write(std::string_view line)
{
    const std::lock_guard lock(mMutex);
    mLines.emplace_back(line);
}

bool LogCapture::contains(std::string_view text) const
{
    const std::lock_guard lock(mMutex);
    return std::any_of(mLines.begin(), mLines.end(),
                       [text](const std::string& line) { return line.find(text) != std::string::npos; });
}

void PacketRecorder::readProc(const Platform::MIDIPacketList* list, void* readRefCon, void* srcConnRefCon)
{
    static_cast<PacketRecorder*>(readRefCon)->record(*list, srcConnRefCon);
}

void PacketRecorder::record(const Platform::MIDIPacketList& list, void* srcConnRefCon)
{
    std::unique_lock lock(mMutex);
    Platform::MIDIPacketListWalker(list).forEachPacket([this](const Platform::MIDIPacket& packet) {
        mPackets.emplace_back(packet.data.begin(), packet.data.end());
    });
    mConnRefCons.push_back(srcConnRefCon);
    mCalledOnMainThread = mCalledOnMainThread || std::this_thread::get_id() == mMainThread;
    mReleased.wait(lock, [this] { return !mHold; });
}

std::vector<Bytes> PacketRecorder::packets() const
{
    const std::lock_guard lock(mMutex);
    return mPackets;
}

std::size_t PacketRecorder::count() const
{
    const std::lock_guard lock(mMutex);
    return mPackets.size();
}

bool PacketRecorder::contains(const Bytes& packet) const
{
    const std::lock_guard lock(mMutex);
    return std::find(mPackets.begin(), mPackets.end(), packet) != mPackets.end();
}

bool PacketRecorder::calledOnMainThread() const
{
    const std::lock_guard lock(mMutex);
    return mCalledOnMainThread;
}

std::vector<void*> PacketRecorder::connRefCons() const
{
    const std::lock_guard lock(mMutex);
    return mConnRefCons;
}

void PacketRecorder::clear()
{
    const std::lock_guard lock(mMutex);
    mPackets.clear();
    mConnRefCons.clear();
}

void PacketRecorder::holdNextCall()
{
    const std::lock_guard lock(mMutex);
    mHold = true;
}

void PacketRecorder::release()
{
    {
        const std::lock_guard lock(mMutex);
        mHold = false;
    }
    mReleased.notify_all();
}

void NotificationRecorder::notifyProc(const Platform::MIDINotification* message, void* refCon)
{
    auto* recorder = static_cast<NotificationRecorder*>(refCon);
    if (message->messageID != Platform::kMIDIMsgSetupChanged)
        return;
    ++recorder->mSetupChanges;
    recorder->mAllOnMainThread =
        recorder->mAllOnMainThread && std::this_thread::get_id() == recorder->mMainThread;
}

} // namespace MIDITest
