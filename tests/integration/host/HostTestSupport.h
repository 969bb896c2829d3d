// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#pragma once

// The host tests' surroundings: a private session bus, scratch pane bundles around the test
// plug-in, the host as a child process, and calls to it over the bus.

#include "CapturedProcess.h"
#include "PrivateServers.h"

#include "Platform/PropertyList.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace HostTest {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

inline const fs::path testPane = TEST_PANE_BUNDLE;
inline const fs::path hostExecutable = HOST_EXECUTABLE;
inline constexpr const char* busName = "com.apple.systempreferences";
inline constexpr const char* objectPath = "/com/apple/systempreferences";

template <class Condition> bool waitFor(Condition condition, std::chrono::milliseconds deadline = 5s)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

inline bool hostOnBus()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(busName).value();
}

inline QDBusMessage callHost(const char* member, const QVariantList& arguments)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(busName, objectPath, "org.freedesktop.Application", member);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
}

inline QDBusMessage openInHost(const fs::path& pane)
{
    return callHost(
        "Open",
        {QStringList{QUrl::fromLocalFile(QString::fromStdString(pane.string())).toString()}, QVariantMap()});
}

inline QDBusMessage quitHost()
{
    return callHost("ActivateAction", {QString("quit"), QVariant::fromValue(QVariantList()), QVariantMap()});
}

// What a process wrote, for failure messages.
inline std::string output(const TestSupport::CapturedProcess& process)
{
    std::string text;
    for (const auto& line : process.lines())
        text += line + '\n';
    return text;
}

// Name.prefPane with the given Info.plist entries (none left out when empty) and, unless told
// otherwise, the test plug-in under the name CFBundleExecutable gives.
struct PaneSpec {
    std::string name;
    std::string principalClass = "TestPane";
    std::string executable = "TestPane";
    bool withPlugin = true;
    bool withInfo = true;
};

inline fs::path makePane(const fs::path& folder, const PaneSpec& spec)
{
    const fs::path bundle = folder / (spec.name + ".prefPane");
    fs::create_directories(bundle / "Contents" / "MacOS");
    if (spec.withInfo) {
        Platform::PlistDictionary info{{"CFBundleName", spec.name}};
        if (!spec.principalClass.empty())
            info.emplace("NSPrincipalClass", spec.principalClass);
        if (!spec.executable.empty())
            info.emplace("CFBundleExecutable", spec.executable);
        const auto bytes =
            Platform::serializePropertyList(Platform::PlistValue(info), Platform::PlistFormat::Xml);
        std::ofstream(bundle / "Contents" / "Info.plist", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    if (spec.withPlugin && !spec.executable.empty())
        fs::copy_file(testPane / "Contents" / "MacOS" / "TestPane",
                      bundle / "Contents" / "MacOS" / spec.executable, fs::copy_options::overwrite_existing);
    return bundle;
}

// One private bus and one application for the whole program: Qt keeps its session-bus connection
// for the life of the process.
class BusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        mBus = std::make_unique<TestSupport::PrivateSessionBus>();
        mApp = std::make_unique<QCoreApplication>(mArgc, mArgv);
    }
    void TearDown() override
    {
        mApp.reset();
        mBus.reset();
    }

private:
    int mArgc = 1;
    char mArg0[9] = "HostTest";
    char* mArgv[2] = {mArg0, nullptr};
    std::unique_ptr<TestSupport::PrivateSessionBus> mBus;
    std::unique_ptr<QCoreApplication> mApp;
};

inline ::testing::Environment* const busEnvironment = ::testing::AddGlobalTestEnvironment(new BusEnvironment);

// Each test gets a scratch folder and leaves no host behind.
class HostFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mScratch.isValid()); }
    void TearDown() override
    {
        // A host a failed test left behind must not answer the next test.
        if (hostOnBus())
            quitHost();
        waitFor([] { return !hostOnBus(); });
    }

    fs::path scratch() const { return mScratch.path().toStdString(); }

    static std::unique_ptr<TestSupport::CapturedProcess>
    startHost(const std::vector<std::string>& arguments = {})
    {
        std::vector<std::string> argv{hostExecutable.string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return std::make_unique<TestSupport::CapturedProcess>(argv);
    }

    // Starts the host on the pane and waits until its view is on screen.
    static std::unique_ptr<TestSupport::CapturedProcess> startHostShowing(const fs::path& pane)
    {
        auto host = startHost({pane.string()});
        EXPECT_TRUE(host->waitForLine("TestPane: view shown " + pane.filename().string(), 10s));
        EXPECT_TRUE(waitFor(hostOnBus));
        return host;
    }

    static int exitCode(TestSupport::CapturedProcess& process)
    {
        const auto status = process.waitForExit(10s);
        if (!status || !WIFEXITED(*status))
            return -1;
        return WEXITSTATUS(*status);
    }

    QTemporaryDir mScratch;
};

} // namespace HostTest
