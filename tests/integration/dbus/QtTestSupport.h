// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "Platform/Log.h"

#include <QCoreApplication>
#include <QProcess>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace DBusTest {

// Runs the event loop until the condition holds or the deadline passes.
template <class Condition>
bool waitFor(Condition condition, std::chrono::milliseconds deadline = std::chrono::seconds(5))
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Reads one line of a helper's output, waiting at most the deadline; empty when none came.
inline std::string readLine(QProcess& process, std::chrono::milliseconds deadline = std::chrono::seconds(5))
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!process.canReadLine()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !process.waitForReadyRead(int(left.count())))
            break;
    }
    return process.canReadLine() ? process.readLine().trimmed().toStdString() : std::string();
}

inline std::vector<std::string> remainingLines(QProcess& process)
{
    std::vector<std::string> lines;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            lines.push_back(line.toStdString());
    return lines;
}

// Keeps every log line the platform writes while it exists.
class CapturedLog : public Platform::LogSink {
public:
    CapturedLog() { Platform::setLogSink(this); }
    ~CapturedLog() override { Platform::setLogSink(nullptr); }

    void write(std::string_view line) override
    {
        std::lock_guard lock(mMutex);
        mLines.emplace_back(line);
    }
    std::vector<std::string> lines()
    {
        std::lock_guard lock(mMutex);
        return mLines;
    }

private:
    std::mutex mMutex;
    std::vector<std::string> mLines;
};

} // namespace DBusTest
