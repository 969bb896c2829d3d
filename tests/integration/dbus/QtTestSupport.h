// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

#include "PrivateServers.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>

#include <chrono>
#include <memory>
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

// A suite with its own session bus and a Qt application, both for the whole suite.
class PrivateBusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sBus = std::make_unique<TestSupport::PrivateSessionBus>();
        sApp = std::make_unique<QCoreApplication>(sArgc, sArgv);
    }
    static void TearDownTestSuite()
    {
        sApp.reset();
        sBus.reset();
    }

private:
    static inline int sArgc = 1;
    static inline char sArg0[] = "cuebolt-dbus-tests";
    static inline char* sArgv[] = {sArg0, nullptr};
    static inline std::unique_ptr<TestSupport::PrivateSessionBus> sBus;
    static inline std::unique_ptr<QCoreApplication> sApp;
};

} // namespace DBusTest
