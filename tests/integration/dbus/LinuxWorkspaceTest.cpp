// SPDX-License-Identifier: MIT
// Copyright (c) 2026 Cuebolt developers
#include "CapturingLog.h"
#include "PrivateServers.h"
#include "QtTestSupport.h"

#include "Platform/Linux/LinuxWorkspace.h"
#include "Platform/Linux/ProcFsProcessList.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace Platform;
using namespace DBusTest;
namespace fs = std::filesystem;

namespace {

class RecordingActivator : public WindowActivator {
public:
    bool activateWindowOfProcess(pid_t pid) override
    {
        std::lock_guard lock(mMutex);
        mPids.push_back(pid);
        return true;
    }
    std::vector<pid_t> pids()
    {
        std::lock_guard lock(mMutex);
        return mPids;
    }

private:
    std::mutex mMutex;
    std::vector<pid_t> mPids;
};

class RecordingLaunchServices : public LaunchServices {
public:
    OSStatus LSOpenFromRefSpec(const FSRef& app, std::uint32_t) override
    {
        launched.push_back(app.path);
        return noErr;
    }
    std::vector<std::string> launched;
};

void writeFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Name.app/Contents/{Info.plist,MacOS/<executable>}, the executable copied from a file or written as a
// script.
fs::path makeBundle(const fs::path& folder, const std::string& name, const std::string& identifier,
                    const std::string& executableName = "", const fs::path& copyExecutableFrom = "",
                    const std::string& script = "")
{
    const fs::path bundle = folder / (name + ".app");
    PlistDictionary info{{"CFBundleIdentifier", identifier}};
    if (!executableName.empty())
        info.emplace("CFBundleExecutable", executableName);
    const auto bytes = serializePropertyList(PlistValue(info), PlistFormat::Xml);
    writeFile(bundle / "Contents" / "Info.plist", std::string(bytes.begin(), bytes.end()));
    const fs::path executable =
        bundle / "Contents" / "MacOS" / (executableName.empty() ? name : executableName);
    fs::create_directories(executable.parent_path());
    if (!copyExecutableFrom.empty())
        fs::copy_file(copyExecutableFrom, executable);
    else if (!script.empty())
        writeFile(executable, script);
    if (fs::exists(executable))
        fs::permissions(executable, fs::perms::owner_all);
    return bundle;
}

std::optional<std::string> stringValue(const PlistDictionary& d, const char* key)
{
    const auto it = d.find(key);
    const auto* s = it == d.end() ? nullptr : it->second.getIf<std::string>();
    return s ? std::optional(*s) : std::nullopt;
}

std::optional<std::int64_t> pidValue(const PlistDictionary& d)
{
    const auto it = d.find(NSApplicationProcessIdentifier);
    const auto* i = it == d.end() ? nullptr : it->second.getIf<std::int64_t>();
    return i ? std::optional(*i) : std::nullopt;
}

class LinuxWorkspaceTest : public DBusTest::PrivateBusTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mTemporary.isValid());
        mPreviousHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", home().c_str(), 1);
        fs::create_directories(applications());
    }
    void TearDown() override { setenv("HOME", mPreviousHome.c_str(), 1); }

    fs::path root() const { return mTemporary.path().toStdString(); }
    fs::path home() const { return root() / "home"; }
    fs::path applications() const { return home() / "Applications"; }

    // A process started from a bundle around a copy of sleep, named apart from other test runs'.
    void startBundledChild()
    {
        const fs::path bundle = makeBundle(root(), childName(), "org.cuebolt.test.T", "T", "/bin/sleep");
        mChild.start(QString::fromStdString((bundle / "Contents/MacOS/T").string()), {"60"});
        ASSERT_TRUE(mChild.waitForStarted(5000));
        mChildPid = pid_t(mChild.processId());
    }
    pid_t childPid() const { return mChildPid; }
    static std::string childName() { return "T" + std::to_string(getpid()); }

    QTemporaryDir mTemporary;
    std::string mPreviousHome;
    ProcFsProcessList mProcesses;
    RecordingLaunchServices mLaunchServices;
    RecordingActivator mActivator;
    LinuxWorkspace mWorkspace{mProcesses, mLaunchServices, mActivator, std::chrono::milliseconds(100)};
    QProcess mChild;
    pid_t mChildPid = 0; // kept: QProcess forgets it once the child ends
};

TEST_F(LinuxWorkspaceTest, BundledChildIsAnnouncedAsLaunchingThenTerminated)
{
    std::vector<Notification> seen;
    const auto record = [&](const Notification& n) {
        if (pidValue(n.userInfo) == childPid())
            seen.push_back(n);
    };
    mWorkspace.notificationCenter().addObserver(&seen, record, NSWorkspaceWillLaunchApplicationNotification,
                                                std::nullopt);
    mWorkspace.notificationCenter().addObserver(&seen, record, NSWorkspaceDidTerminateApplicationNotification,
                                                std::nullopt);

    startBundledChild();
    ASSERT_TRUE(waitFor([&] { return seen.size() == 1; }));
    mChild.kill();
    mChild.waitForFinished(5000);
    ASSERT_TRUE(waitFor([&] { return seen.size() == 2; }));

    const PlistDictionary expected{{NSApplicationName, childName()},
                                   {NSApplicationProcessIdentifier, std::int64_t{childPid()}},
                                   {NSApplicationBundleIdentifier, "org.cuebolt.test.T"}};
    EXPECT_EQ(seen[0].name, NSWorkspaceWillLaunchApplicationNotification);
    EXPECT_EQ(seen[0].userInfo, expected);
    EXPECT_EQ(seen[1].name, NSWorkspaceDidTerminateApplicationNotification);
    EXPECT_EQ(seen[1].userInfo, expected);
}

TEST_F(LinuxWorkspaceTest, LaunchedApplicationsListsBundleAndPlainProcesses)
{
    startBundledChild();
    const auto applications = mWorkspace.launchedApplications();
    const auto withPid = [&](pid_t pid) {
        return std::find_if(applications.begin(), applications.end(),
                            [pid](const PlistDictionary& d) { return pidValue(d) == pid; });
    };

    const auto child = withPid(childPid());
    ASSERT_NE(child, applications.end());
    EXPECT_EQ(stringValue(*child, NSApplicationName), childName());
    EXPECT_EQ(stringValue(*child, NSApplicationBundleIdentifier), "org.cuebolt.test.T");

    const auto self = withPid(getpid());
    ASSERT_NE(self, applications.end());
    EXPECT_EQ(stringValue(*self, NSApplicationName),
              QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString());
    EXPECT_FALSE(self->contains(NSApplicationBundleIdentifier));
}

TEST_F(LinuxWorkspaceTest, LaunchApplicationBringsRunningApplicationForwardFromAnyThread)
{
    startBundledChild();
    bool result = false;
    std::thread receiveThread([&] { result = mWorkspace.launchApplication(childName()); });
    receiveThread.join();

    EXPECT_TRUE(result);
    EXPECT_EQ(mActivator.pids(), std::vector<pid_t>{childPid()});
    EXPECT_TRUE(mLaunchServices.launched.empty());
}

TEST_F(LinuxWorkspaceTest, LaunchApplicationStartsBundleFromApplicationFolder)
{
    const fs::path bundle = makeBundle(applications(), "Stand In", "org.cuebolt.test.standin");

    EXPECT_TRUE(mWorkspace.launchApplication("Stand In"));
    EXPECT_EQ(mLaunchServices.launched, std::vector<std::string>{bundle.string()});
    EXPECT_TRUE(mActivator.pids().empty());
}

TEST_F(LinuxWorkspaceTest, LaunchApplicationOfUnknownApplicationFailsWithLogLine)
{
    Doubles::CapturingLog log;
    EXPECT_FALSE(mWorkspace.launchApplication("Nowhere To Be Found"));
    EXPECT_TRUE(mLaunchServices.launched.empty());
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Nowhere To Be Found.app"), std::string::npos);
}

TEST_F(LinuxWorkspaceTest, AbsolutePathForAppBundleWithIdentifier)
{
    const fs::path found = makeBundle(applications(), "Found", "org.cuebolt.test.found");
    writeFile(applications() / "Damaged.app" / "Contents" / "Info.plist", "not a property list");
    writeFile(applications() / "Plain.txt", "org.cuebolt.test.found");

    EXPECT_EQ(mWorkspace.absolutePathForAppBundleWithIdentifier("org.cuebolt.test.found"), found.string());
    EXPECT_EQ(mWorkspace.absolutePathForAppBundleWithIdentifier("org.cuebolt.test.missing"), std::nullopt);
}

TEST_F(LinuxWorkspaceTest, BundlesAroundTheRunningExecutableAreSearchedFirst)
{
    const fs::path tree = root() / "build";
    const fs::path inner = tree / "Outer.prefPane/Contents/Resources/Inner.app/Contents/MacOS";
    fs::create_directories(inner);
    fs::copy_file(WORKSPACE_PEER, inner / "workspace_peer");
    const fs::path nearby = makeBundle(tree, "Host", "org.cuebolt.test.host");
    makeBundle(applications(), "Installed Host", "org.cuebolt.test.host");

    QProcess peer;
    peer.start(QString::fromStdString((inner / "workspace_peer").string()),
               {"find", "org.cuebolt.test.host"});
    ASSERT_TRUE(peer.waitForFinished(10000));
    EXPECT_EQ(remainingLines(peer), std::vector<std::string>{nearby.string()});
}

TEST_F(LinuxWorkspaceTest, OpenFileHandsPaneToRunningHostOverDBus)
{
    QProcess host;
    host.start(WORKSPACE_PEER, {"pane-host"});
    ASSERT_EQ(readLine(host, std::chrono::seconds(10)), "ready");

    const fs::path pane = root() / "Cuebolt Pane.prefPane";
    EXPECT_TRUE(mWorkspace.openFile(pane.string()));

    // The peer answers after printing; keep our loop turning so the reply is taken.
    ASSERT_TRUE(waitFor([&] { return host.state() == QProcess::NotRunning || host.canReadLine(); }));
    EXPECT_EQ(readLine(host),
              QUrl::fromLocalFile(QString::fromStdString(pane.string())).toString().toStdString());
    EXPECT_TRUE(host.state() == QProcess::NotRunning || host.waitForFinished(5000));
}

TEST_F(LinuxWorkspaceTest, OpenFileStartsHostBundleWithPaneWhenHostIsNotRunning)
{
    const fs::path opened = root() / "opened";
    makeBundle(applications(), "System Preferences", "com.apple.systempreferences", "host", "",
               "#!/bin/sh\nprintf '%s' \"$1\" > '" + opened.string() + ".tmp' && mv '" + opened.string() +
                   ".tmp' '" + opened.string() + "'\n");
    const fs::path pane = root() / "Cuebolt.prefPane";

    EXPECT_TRUE(mWorkspace.openFile(pane.string()));
    ASSERT_TRUE(waitFor([&] { return fs::exists(opened); }));
    std::ifstream in(opened);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), pane.string());
}

TEST_F(LinuxWorkspaceTest, OpenFileOfPaneWithoutAnyHostFailsWithLogLine)
{
    Doubles::CapturingLog log;
    EXPECT_FALSE(mWorkspace.openFile((root() / "Cuebolt.prefPane").string()));
    EXPECT_EQ(log.lines().size(), 1u);
}

} // namespace
